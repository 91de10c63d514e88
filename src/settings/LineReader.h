#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct stat;

// Reads the lines of the init, language and semantics files by their common
// rule: white space before a line is skipped, so blank lines and indentation
// vanish; a line ends at LF, and the CR of a CR LF pair belongs to the line
// end; a line holds at most kMaxLineLength bytes, the rest of a longer line
// is read as a line of its own. Every other byte, NUL included, is data,
// except a UTF-8 byte-order mark at the very start of the input, which
// editors write unseen and which is no part of the first line.
class CLineReader {
  public:
    static constexpr std::size_t kMaxLineLength = 999;

    CLineReader() = default;
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;
    ~CLineReader();

    // Opens a regular file; false for anything else (missing, unreadable, a
    // directory, a FIFO or a device), so that no read can block.
    bool Open(const std::string& path);
    // Reads from memory instead of a file; `text` must outlive the reader.
    void OpenText(std::string_view text);

    // The next line, valid until the next call; false at the end of the input
    // or when a read fails.
    bool Next(std::string_view& line);

    // The physical line (counted from 1) on which the last line began.
    std::size_t LineNumber() const { return m_lineNumberOfLast; }
    // True when the last line stopped at the length limit, not at a line end.
    bool WasCut() const { return m_wasCut; }
    // True when the last line is the rest of a line that was cut.
    bool IsContinuation() const { return m_isContinuation; }
    // True when a read error, not the end of the file, ended the input.
    bool Failed() const { return m_failed; }

  private:
    bool Fill();
    void Reset();
    void SkipByteOrderMark();

    int m_fd = -1;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
    const char* m_begin = nullptr;  // unread bytes
    const char* m_end = nullptr;
    bool m_eof = true;
    bool m_failed = false;
    bool m_fromMemory = false;

    std::size_t m_lineNumber = 1;  // physical line of the next unread byte
    std::size_t m_lineNumberOfLast = 0;
    bool m_wasCut = false;
    bool m_isContinuation = false;
};

// A comment line of any of the three files: '#' as its first or second byte.
inline bool IsCommentLine(std::string_view line) {
    return (!line.empty() && line[0] == '#') || (line.size() > 1 && line[1] == '#');
}

// The name a section header line gives, its first byte being '['. The last
// byte goes whatever it is: "[abc" names "ab", "[Elves " names "Elves".
inline std::string_view SectionName(std::string_view headerLine) {
    return headerLine.size() < 2 ? std::string_view() : headerLine.substr(1, headerLine.size() - 2);
}

// 3 when `text` begins with the UTF-8 byte-order mark, 0 otherwise.
inline std::size_t Utf8BomLength(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

// The white space of the C locale's isspace().
inline bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Opens `path` with `flags` if it is a regular file, filling `info`; -1
// otherwise. A FIFO or device must not block the program, a folder is no
// file, and a path with a NUL byte names no file (the system would cut it
// there and open another).
int OpenRegularFile(const std::string& path, int flags, struct stat& info);
