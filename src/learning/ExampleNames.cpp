#include "learning/ExampleNames.h"

#include <set>

#include "checking/FileShape.h"
#include "learning/NameLetters.h"
#include "text/Quoted.h"
#include "text/TextReading.h"

namespace {

// The UTF-8 of a line as the desktop program shows it, without white space
// at either end: trailing blanks are no part of a name, and Unicode blanks
// the line rule does not skip (a no-break space, a stray byte-order mark)
// would otherwise begin one.
std::string ShownName(std::string_view line) {
    const std::string utf8 = IsValidUtf8(line) ? std::string(line) : Windows1252ToUtf8(line);
    const std::vector<CNameUnit> units = NameUnits(utf8);
    std::size_t first = 0;
    std::size_t last = units.size();
    while (first < last && IsWhiteSpace(units[first].first)) ++first;
    while (last > first && IsWhiteSpace(units[last - 1].first)) --last;
    if (first == last) return {};
    // A mark that followed the last blank belongs to it; it goes with it.
    return utf8.substr(units[first].begin, units[last - 1].end - units[first].begin);
}

std::string TooFewMessage(const std::string& shownName, std::size_t count) {
    std::string text = "Die Datei " + Quoted(shownName) + " enthält ";
    if (count == 0) {
        text += "keinen Namen";
    } else if (count == 1) {
        text += "nur einen Namen";
    } else {
        text += "nur " + std::to_string(count) + " verschiedene Namen";
    }
    return text + "; zum Lernen braucht es mindestens " + std::to_string(kMinExampleNames) + ".";
}

bool ReadLines(CLineReader& reader, const std::string& shownName, std::vector<std::string>& names,
               std::string& error) {
    names.clear();
    std::set<std::string> seen;
    std::string_view line;
    while (reader.Next(line)) {
        // The line rule would read the rest of a long line as another name.
        if (reader.WasCut()) {
            error = "Zeile " + std::to_string(reader.LineNumber()) + " der Datei " +
                    Quoted(shownName) + " ist länger als " +
                    std::to_string(CLineReader::kMaxLineLength) +
                    " Bytes; so lange Namen kann die Sprachdatei nicht aufnehmen.";
            return false;
        }
        if (IsCommentLine(line)) continue;
        std::string name = ShownName(line);
        // Behind a no-break space, "#" still marks a comment to the reader;
        // and a fragment line cannot begin with it.
        if (name.empty() || IsCommentLine(name)) continue;
        // Windows-1252 letters take two or three bytes in UTF-8, and a
        // fragment may need the escape "$" in front.
        if (name.size() > kMaxExampleNameBytes) {
            error = "Der Name in Zeile " + std::to_string(reader.LineNumber()) + " der Datei " +
                    Quoted(shownName) + " ist in UTF-8 länger als " +
                    std::to_string(kMaxExampleNameBytes) +
                    " Bytes; so lange Namen kann die Sprachdatei nicht aufnehmen.";
            return false;
        }
        if (seen.insert(name).second) names.push_back(std::move(name));
    }
    if (reader.Failed()) {
        error = "Die Datei " + Quoted(shownName) + " lässt sich nicht zu Ende lesen.";
        return false;
    }
    if (names.size() < kMinExampleNames) {
        error = TooFewMessage(shownName, names.size());
        return false;
    }
    return true;
}

}  // namespace

bool ReadExampleNames(const std::string& path, std::vector<std::string>& names,
                      std::string& error) {
    names.clear();
    CLineReader reader;
    if (!reader.Open(path)) {
        error = "Die Datei " + Quoted(path) + " fehlt oder ist nicht lesbar.";
        return false;
    }
    const std::string shape = FileShapeMessage(InspectFileShape(path));
    if (!shape.empty()) {
        error = Quoted(path) + ": " + shape;
        return false;
    }
    return ReadLines(reader, path, names, error);
}

bool ReadExampleText(std::string_view text, const std::string& shownName,
                     std::vector<std::string>& names, std::string& error) {
    CLineReader reader;
    reader.OpenText(text);
    return ReadLines(reader, shownName, names, error);
}

std::string FileNameOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
