#include "learning/LearnedText.h"

#include <utility>

#include "settings/LineReader.h"
#include "text/Quoted.h"
#include "text/TextReading.h"

namespace {

constexpr std::size_t kMaxLine = CLineReader::kMaxLineLength;
// Each part of a list name made from a culture or name type is cut to this,
// so that a pattern of many lists stays within one line.
constexpr std::size_t kMaxNamePart = 24;
// The file name in the comment is cut to this many bytes, escapes counted,
// so that the comment stays one line.
constexpr std::size_t kMaxShownSource = 400;

// ASCII for a letter of a culture or name type in a list name; German and
// other Western letters by their base letters, anything else none.
std::string_view AsciiOf(char32_t c) {
    static constexpr std::pair<char32_t, std::string_view> kLetters[] = {
        {U'ä', "ae"}, {U'ö', "oe"}, {U'ü', "ue"}, {U'ß', "ss"}, {U'Ä', "ae"}, {U'Ö', "oe"},
        {U'Ü', "ue"}, {U'à', "a"},  {U'á', "a"},  {U'â', "a"},  {U'ã', "a"},  {U'å', "a"},
        {U'æ', "ae"}, {U'ç', "c"},  {U'è', "e"},  {U'é', "e"},  {U'ê', "e"},  {U'ë', "e"},
        {U'ì', "i"},  {U'í', "i"},  {U'î', "i"},  {U'ï', "i"},  {U'ñ', "n"},  {U'ò', "o"},
        {U'ó', "o"},  {U'ô', "o"},  {U'õ', "o"},  {U'ø', "o"},  {U'ù', "u"},  {U'ú', "u"},
        {U'û', "u"},  {U'ý', "y"},  {U'ÿ', "y"},  {U'œ', "oe"},
    };
    for (const auto& [letter, ascii] : kLetters) {
        if (letter == c) return ascii;
    }
    return {};
}

// A culture or name type as a part of a list name: small ASCII letters and
// digits, words joined by "_".
std::string NamePart(std::string_view text, std::string_view fallback) {
    std::u32string characters;
    ReadAsShown(text, characters);
    std::string part;
    bool gap = false;
    for (char32_t c : characters) {
        if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
        std::string ascii;
        if ((c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9')) {
            ascii = static_cast<char>(c);
        } else {
            ascii = AsciiOf(c);
        }
        if (ascii.empty()) {
            gap = true;
            continue;
        }
        if (gap && !part.empty()) part += '_';
        gap = false;
        part += ascii;
        if (part.size() >= kMaxNamePart) break;
    }
    if (part.size() > kMaxNamePart) part.resize(kMaxNamePart);
    return part.empty() ? std::string(fallback) : part;
}

// "gelernt_elfen_vorname", or with "_2", "_3", ... where a list of that
// name exists already.
std::string ListBase(std::string_view culture, std::string_view nameType,
                     const CLearnedNameType& learned, const std::set<std::string>& existing) {
    const std::string base =
        "gelernt_" + NamePart(culture, "kultur") + "_" + NamePart(nameType, "namenstyp");
    for (std::size_t number = 1;; ++number) {
        std::string candidate = number == 1 ? base : base + "_" + std::to_string(number);
        bool free = true;
        for (const CLearnedList& list : learned.lists) {
            free = free && existing.count(candidate + "_" + list.role) == 0;
        }
        if (free) return candidate;
    }
}

// The first and second character as shown, where a "#" makes a comment.
bool HashFirstOrSecond(std::string_view text) {
    std::u32string characters;
    ReadAsShown(text, characters);
    return (!characters.empty() && characters[0] == U'#') ||
           (characters.size() > 1 && characters[1] == U'#');
}

std::string NameProblem(std::string_view text, const std::string& what, bool isNameType) {
    if (text.empty()) return what + " ist leer.";
    const std::string named = what + " " + Quoted(text);
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        return named + " enthält einen Zeilenumbruch; die Semantikdatei kann ihn nicht aufnehmen.";
    }
    if (text.find(']') != std::string_view::npos) {
        return named +
               " enthält ein „]“; in der Semantikdatei sähe es wie das Ende eines "
               "Abschnittskopfs aus.";
    }
    if (HashFirstOrSecond(text)) {
        return named +
               " hat ein „#“ als erstes oder zweites Zeichen; so beginnen in den Datendateien "
               "Kommentare.";
    }
    if (isNameType && text.find(':') != std::string_view::npos) {
        return named + " enthält einen „:“; die Semantikdatei trennt damit die Felder einer Zeile.";
    }
    if (!isNameType && text.size() + 2 > kMaxLine) {
        return named + " ist zu lang für eine Zeile der Semantikdatei (höchstens " +
               std::to_string(kMaxLine) + " Bytes).";
    }
    return {};
}

// The example file's name for a comment: escaped, and cut (at a character)
// where it would make the comment longer than a line.
std::string ShownSource(const std::string& sourceName) {
    std::string shown = Quoted(sourceName);
    if (shown.size() <= kMaxShownSource) return shown;
    std::size_t cut = kMaxShownSource;
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
    return shown.substr(0, cut) + "…“";
}

std::string SourceComment(const CLearnedNameType& learned, const std::string& sourceName) {
    const std::size_t count = learned.exampleCount;
    return "# Gelernt aus " + ShownSource(sourceName) + " mit " +
           (count == 1 ? std::string("einem Namen") : std::to_string(count) + " Namen") + ".";
}

}  // namespace

std::string LearnedNamesProblem(std::string_view culture, std::string_view nameType) {
    std::string problem = NameProblem(culture, "Der Kulturname", false);
    if (problem.empty()) problem = NameProblem(nameType, "Der Namenstyp", true);
    return problem;
}

bool FragmentLine(std::string_view fragment, std::string& line) {
    const bool unwritable = fragment.find('\n') != std::string_view::npos ||
                            (!fragment.empty() && fragment.front() == '#') ||
                            (!fragment.empty() && fragment.back() == '\r');
    // A "$" in front keeps white space, a "[", a "$" and a "#" in second place
    // from meaning anything but themselves.
    const bool escape = fragment.empty() || IsCSpace(fragment.front()) || fragment.front() == '[' ||
                        fragment.front() == '$' || fragment.front() == '#' ||
                        (fragment.size() > 1 && fragment[1] == '#');
    line = escape ? "$" : "";
    line += fragment;
    return !unwritable && line.size() <= kMaxLine;
}

bool MakeLearnedText(const CLearnedNameType& learned, const std::string& sourceName,
                     std::string_view culture, std::string_view nameType,
                     const std::set<std::string>& existingLists, std::string_view lineEnd,
                     CLearnedText& text, std::string& error) {
    text = CLearnedText();
    error = LearnedNamesProblem(culture, nameType);
    if (!error.empty()) return false;
    if (learned.patterns.empty()) {
        error = "Ohne Beispielnamen gibt es nichts zu lernen.";
        return false;
    }

    const std::string comment = SourceComment(learned, sourceName);
    const std::string base = ListBase(culture, nameType, learned, existingLists);
    std::string language = comment;
    language += lineEnd;
    std::string line;
    for (const CLearnedList& list : learned.lists) {
        text.listNames.push_back(base + "_" + list.role);
        language.append(lineEnd).append("[").append(text.listNames.back()).append("]");
        language += lineEnd;
        for (const std::string& fragment : list.fragments) {
            if (!FragmentLine(fragment, line)) {
                error = "Das Fragment " + Quoted(fragment) +
                        " lässt sich nicht in die Sprachdatei schreiben.";
                return false;
            }
            language.append("    ").append(line).append(lineEnd);
        }
    }

    std::string semantics = comment;
    semantics.append(lineEnd).append("[").append(culture).append("]").append(lineEnd);
    bool anyPattern = false;
    for (const CLearnedPattern& pattern : learned.patterns) {
        line = pattern.label + ":" + std::to_string(pattern.weight) + ":";
        line += nameType;
        line += ":";
        for (std::size_t i = 0; i < pattern.lists.size(); ++i) {
            if (i > 0) line += ",";
            line += text.listNames[pattern.lists[i]];
        }
        // A line longer than the line rule allows would be read as two; the
        // few names with that many syllables still live on in the halves.
        if (line.size() > kMaxLine) continue;
        semantics.append("    ").append(line).append(lineEnd);
        anyPattern = true;
    }
    if (!anyPattern) {
        error = "Der Namenstyp " + Quoted(nameType) +
                " ist zu lang für eine Zeile der Semantikdatei (höchstens " +
                std::to_string(kMaxLine) + " Bytes samt Listennamen).";
        return false;
    }
    text.language = std::move(language);
    text.semantics = std::move(semantics);
    return true;
}
