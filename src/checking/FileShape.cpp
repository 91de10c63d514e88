#include "checking/FileShape.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "settings/LineReader.h"

namespace {

// Enough of a first line to see its pattern of NUL bytes.
constexpr std::size_t kFirstLineSample = 4096;

// Every byte at a position `phase` modulo `step` is NUL, over the whole line.
bool NulAtEvery(std::string_view line, std::size_t step, std::size_t phase) {
    if (line.size() < step) return false;
    for (std::size_t i = phase; i < line.size(); i += step) {
        if (line[i] != '\0') return false;
    }
    return true;
}

CFileShape ShapeOfFirstLine(std::string_view start) {
    if (start.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        start.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
        return CFileShape::kUtf32;
    }
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) return CFileShape::kUtf16;
    const std::string_view line = start.substr(0, start.find('\n'));
    // UTF-32 text has three NUL bytes of every four; test it first, as it
    // also has one in every second position.
    const bool utf32 =
        (NulAtEvery(line, 4, 1) && NulAtEvery(line, 4, 2) && NulAtEvery(line, 4, 3)) ||
        (NulAtEvery(line, 4, 0) && NulAtEvery(line, 4, 1) && NulAtEvery(line, 4, 2));
    if (utf32) return CFileShape::kUtf32;
    if (NulAtEvery(line, 2, 0) || NulAtEvery(line, 2, 1)) return CFileShape::kUtf16;
    return CFileShape::kReadable;
}

}  // namespace

CFileShape InspectFileShape(const std::string& path) {
    struct stat info {};
    const int fd = OpenRegularFile(path, O_RDONLY, info);
    if (fd < 0) return CFileShape::kReadable;
    std::string start;
    bool sawCr = false;
    bool sawLf = false;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        const std::string_view chunk(block, static_cast<std::size_t>(n));
        if (start.size() < kFirstLineSample) {
            start.append(chunk.substr(0, kFirstLineSample - start.size()));
        }
        sawCr = sawCr || chunk.find('\r') != std::string_view::npos;
        sawLf = sawLf || chunk.find('\n') != std::string_view::npos;
        // Once an LF is seen, only the first line matters, and it is held.
        if (sawLf && start.size() >= kFirstLineSample) break;
    }
    ::close(fd);
    const CFileShape shape = ShapeOfFirstLine(std::string_view(start).substr(Utf8BomLength(start)));
    if (shape != CFileShape::kReadable) return shape;
    return sawCr && !sawLf ? CFileShape::kCrOnlyLineEnds : CFileShape::kReadable;
}

std::string FileShapeMessage(CFileShape shape) {
    switch (shape) {
        case CFileShape::kUtf16:
        case CFileShape::kUtf32:
            return std::string("Die Datei ist als ") +
                   (shape == CFileShape::kUtf16 ? "UTF-16" : "UTF-32") +
                   " gespeichert; Veltrano liest sie nur als UTF-8 richtig. Bitte als UTF-8 "
                   "speichern.";
        case CFileShape::kCrOnlyLineEnds:
            return "Die Zeilen enden nur mit CR, so wird die ganze Datei eine einzige Zeile. "
                   "Bitte mit LF oder CR LF als Zeilenende speichern.";
        case CFileShape::kReadable:
            break;
    }
    return {};
}
