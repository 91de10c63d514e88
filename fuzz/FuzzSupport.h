#pragma once

// Shared by the fuzz entry points: a scratch folder for the files a reader
// must find on disk, the line rule written out plainly as the oracle the
// readers are compared with, and a check that stops the run with a message.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A folder for this process alone, made at the first call (under TMPDIR, or
// in /dev/shm when it can be, so that writing an input per run costs no
// disk), removed at a normal exit.
const std::string& FuzzScratchDir();

// Writes `bytes` to `path` exactly; stops the run when that fails, since the
// reader would then see something other than the input.
void WriteFuzzFile(const std::string& path, std::string_view bytes);

std::string ReadFuzzFile(const std::string& path);

// One line as the line rule gives it: the bytes, and whether it stopped at the
// length limit rather than at a line end or the end of the input.
struct CReferenceLine {
    std::string text;
    bool cut;
    bool operator==(const CReferenceLine&) const = default;
};

// The lines of `input` by the rule the three data files share, done the
// plain way: a CR LF pair reads as a line end (as text mode would make it),
// then white space before each line is skipped and each line taken up to its
// LF but at most 999 bytes.
std::vector<CReferenceLine> ReferenceLines(std::string_view input);

// True for '#' as the first or second byte, the comment rule of all three
// files.
bool ReferenceIsComment(std::string_view line);

// Stops the run with `what`; libFuzzer and the replay both take the abort as
// a finding.
[[noreturn]] void FuzzFail(const char* what);

inline void FuzzCheck(bool condition, const char* what) {
    if (!condition) {
        FuzzFail(what);
    }
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
