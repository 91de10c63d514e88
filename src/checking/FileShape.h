#pragma once

#include <string>

// How a data file was saved, as far as it decides whether the line rule can
// read it at all. The program itself reads every file as bytes; only the
// check tells the author why a file saved in another form reads as nothing
// useful.
enum class CFileShape {
    kReadable,
    // UTF-16 or UTF-32: by its byte-order mark, or by a first line with a
    // NUL byte in every second (every fourth) position.
    kUtf16,
    kUtf32,
    // Lines that end in CR alone: a CR and no LF anywhere, so the whole file
    // would be one line.
    kCrOnlyLineEnds,
};

// The shape of the regular file at `path`; kReadable for one that cannot be
// opened (others report that).
CFileShape InspectFileShape(const std::string& path);

// The German finding for a file of that shape; empty for kReadable.
std::string FileShapeMessage(CFileShape shape);
