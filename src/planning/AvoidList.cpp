#include "planning/AvoidList.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "settings/LineReader.h"
#include "text/CaseFolding.h"
#include "text/Quoted.h"

namespace {

// The encoding of a file saved as UTF-16 or UTF-32, judged by its first line:
// a byte-order mark, or NUL bytes in half (three quarters) of it, as ASCII
// text has in those encodings; nullptr for a file the line rule can read.
const char* WideEncoding(std::string_view firstLine) {
    if (firstLine.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        firstLine.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
        return "UTF-32";
    }
    if (firstLine.starts_with("\xFF\xFE") || firstLine.starts_with("\xFE\xFF")) return "UTF-16";
    const auto nuls =
        static_cast<std::size_t>(std::count(firstLine.begin(), firstLine.end(), '\0'));
    if (nuls * 4 >= firstLine.size() * 3) return "UTF-32";
    if (nuls * 2 >= firstLine.size()) return "UTF-16";
    return nullptr;
}

std::string_view WithoutTrailingBlanks(std::string_view line) {
    while (!line.empty() && IsCSpace(line.back())) line.remove_suffix(1);
    return line;
}

// Hands the folded entries of the avoid file at `path` to `take`; false with
// a message when the file cannot be read as one.
template <typename Take>
bool ReadAvoidFile(const std::string& path, Take take, std::string& error) {
    CLineReader reader;
    if (!reader.Open(path)) {
        std::error_code failure;
        error = std::filesystem::is_directory(path, failure)
                    ? Quoted(path) + " ist ein Ordner, keine Datei."
                    : "Die Datei " + Quoted(path) + " fehlt oder ist nicht lesbar.";
        return false;
    }
    std::string_view line;
    bool first = true;
    bool crInFirstLine = false;
    std::u32string folded;
    while (reader.Next(line)) {
        if (first) {
            if (const char* encoding = WideEncoding(line)) {
                error = "Die Datei " + Quoted(path) + " ist als " + encoding +
                        " gespeichert; Veltrano liest sie nur als UTF-8 richtig. Bitte als UTF-8 "
                        "speichern.";
                return false;
            }
            first = false;
        }
        if (IsCommentLine(line)) continue;
        const std::string_view entry = WithoutTrailingBlanks(line);
        crInFirstLine = crInFirstLine ||
                        (reader.LineNumber() == 1 && entry.find('\r') != std::string_view::npos);
        FoldedReading(entry, folded);
        take(folded);
    }
    if (reader.Failed()) {
        error = "Die Datei " + Quoted(path) + " lässt sich nicht zu Ende lesen.";
        return false;
    }
    // A file whose lines end in CR alone is one line: its entries run into one
    // another and would never match, without any sign.
    if (crInFirstLine && reader.LineNumber() == 1) {
        error = "In der Datei " + Quoted(path) +
                " enden die Zeilen nur mit CR, so wird die ganze Datei eine einzige Zeile. Bitte "
                "mit LF oder CR LF als Zeilenende speichern.";
        return false;
    }
    return true;
}

}  // namespace

bool CAvoidList::AddExactFile(const std::string& path, std::string& error) {
    // Folded entries with their lengths take about as many bytes as the file
    // (more where folding or Windows-1252 make longer UTF-8). A larger file
    // than kMaxReserved bytes may be mostly comments: the buffer grows as it
    // needs to then.
    constexpr std::uintmax_t kMaxReserved = std::uintmax_t{1} << 24;
    std::error_code failure;
    const std::uintmax_t bytes = std::filesystem::file_size(path, failure);
    if (!failure) m_exact.Reserve(static_cast<std::size_t>(std::min(bytes + 1, kMaxReserved)));
    const auto stage = [&](std::u32string_view entry) { m_exact.Stage(entry); };
    if (!ReadAvoidFile(path, stage, error)) {
        m_exact.Discard();
        return false;
    }
    m_exact.Commit();
    return true;
}

bool CAvoidList::AddContainingFile(const std::string& path, std::string& error) {
    std::vector<std::u32string> entries;
    const auto keep = [&](std::u32string_view entry) { entries.emplace_back(entry); };
    if (!ReadAvoidFile(path, keep, error)) return false;
    m_containing.insert(m_containing.end(), std::make_move_iterator(entries.begin()),
                        std::make_move_iterator(entries.end()));
    m_matcherBuilt = false;
    return true;
}

void CAvoidList::AddExact(std::string_view entry) {
    std::u32string folded;
    FoldedReading(entry, folded);
    m_exact.Insert(folded);
}

void CAvoidList::AddContaining(std::string_view entry) {
    std::u32string folded;
    FoldedReading(entry, folded);
    // Every name holds the empty text, so an empty entry would avoid them all;
    // nobody asks for that by leaving an entry empty. (A file cannot give one:
    // blank lines are skipped.)
    if (folded.empty()) return;
    m_containing.push_back(std::move(folded));
    m_matcherBuilt = false;
}

void CAvoidList::Finish() {
    if (m_matcherBuilt) return;
    m_matcher.Build(m_containing);
    m_matcherBuilt = true;
}
