#pragma once

#include <string_view>
#include <vector>

// What the learner needs to know about a character of a name, without a
// Unicode library: which letters are vowels in the scripts it knows (Latin,
// Greek, Cyrillic, Armenian, Georgian), which characters are syllables on
// their own (Chinese, Japanese and Korean ones, and every letter of a script
// it does not know), and which characters only mark the one before them.
enum class CLetterKind {
    kVowel,
    kConsonant,
    // One character that is a syllable by itself, or a letter of an unknown
    // script, which the learner treats the same way.
    kSyllable,
    // Not a letter: blanks, hyphens, apostrophes, digits, punctuation.
    kOther,
};

// The kind of `c` by itself. A "y" is a vowel here; NameUnits decides by
// the next letter.
CLetterKind LetterKind(char32_t c);

// Accents, vowel signs and the like that belong to the character before
// them, so that no cut separates them.
bool IsCombiningMark(char32_t c);

// A capital letter of the scripts the learner knows.
bool IsCapitalLetter(char32_t c);

// White space of any script; a name neither begins nor ends with it.
bool IsWhiteSpace(char32_t c);

// One character as a reader sees it: a letter with its marks. `begin` and
// `end` are byte offsets into the UTF-8 name.
struct CNameUnit {
    std::size_t begin = 0;
    std::size_t end = 0;
    char32_t first = 0;  // the character without its marks
    CLetterKind kind = CLetterKind::kOther;
    bool capital = false;
};

// The characters of a UTF-8 name, each with its marks and kind. A "y" before
// a vowel is a consonant ("Maya", "Yusuf"), otherwise a vowel ("Mary").
std::vector<CNameUnit> NameUnits(std::string_view utf8);
