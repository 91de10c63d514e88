#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/LineReader.h"

// The longest example name, in bytes of UTF-8, that any fragment cut from it
// fits on a line of the language file even behind the escape "$".
inline constexpr std::size_t kMaxExampleNameBytes = CLineReader::kMaxLineLength - 1;

// Learning needs at least this many distinct examples.
inline constexpr std::size_t kMinExampleNames = 20;

// Reads a file of example names, one a line, by the data files' line rule
// (a UTF-8 byte-order mark skipped, leading white space skipped, '#' as the
// first or second byte makes a comment, LF or CR LF). Each line is read as
// the desktop program shows it, UTF-8 or else Windows-1252, and kept as
// UTF-8 without white space at either end (a line that then shows "#" first
// or second is a comment too); a repeated name counts once.
// False with a German message in `error` when the file cannot be read, is
// saved as UTF-16 or UTF-32 or with CR alone as line end, holds a name too
// long for the language file, or fewer than kMinExampleNames names. `path`
// appears in messages as given.
bool ReadExampleNames(const std::string& path, std::vector<std::string>& names, std::string& error);

// The same for text in memory, named `shownName` in messages; `text` must
// outlive the call.
bool ReadExampleText(std::string_view text, const std::string& shownName,
                     std::vector<std::string>& names, std::string& error);

// The file name at the end of `path`, for the comment that says where learned
// lists came from.
std::string FileNameOfPath(const std::string& path);
