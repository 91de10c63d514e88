#pragma once

#include <string>
#include <string_view>

// Unicode simple case folding: each character to the one that stands for all
// its cases (mostly its lower case), one character to one, so that a folded
// reading has as many characters as the name shows. Comparing folded texts
// ignores the case of letters in every script: "ΣΊΣΥΦΟΣ" and "σίσυφος" fold
// alike, as do the Kelvin sign and "k", "ſ" and "s". Turkish dotted and
// dotless i keep their own letters (no locale decides here).

// Folds a character from U+0080 on, by the table; FoldCase is the one to call.
char32_t FoldBeyondAscii(char32_t c);

// Most names are ASCII, and ASCII letters fold without the table. No ASCII
// character folds out of ASCII, but a few others fold into it (the Kelvin sign
// to "k", "ſ" to "s"): folded text that is all ASCII may come from text that
// is not.
inline char32_t FoldCase(char32_t c) {
    if (c < 0x80) return c - U'A' < 26U ? c + 0x20 : c;
    return FoldBeyondAscii(c);
}

// `bytes` as the characters a person sees (TextReading.h), each folded, in
// place of what `characters` held.
void FoldedReading(std::string_view bytes, std::u32string& characters);
