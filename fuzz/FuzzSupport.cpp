#include "FuzzSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

// TMPDIR when set (tools/fuzz points it at a folder it removes: libFuzzer
// ends without running exit handlers), otherwise memory, otherwise /tmp.
std::string ScratchBase() {
    if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && tmp[0] != '\0') {
        return tmp;
    }
    if (::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    return "/tmp";
}

std::string MakeScratchDir() {
    const std::string base = ScratchBase();
    std::string pattern = base + "/veltrano-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

std::string& ScratchDirStorage() {
    static std::string dir;
    return dir;
}

void RemoveScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchDirStorage(), ignored);
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

const std::string& FuzzScratchDir() {
    std::string& dir = ScratchDirStorage();
    if (dir.empty()) {
        dir = MakeScratchDir();
        std::atexit(RemoveScratchDir);
    }
    return dir;
}

void WriteFuzzFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FuzzCheck(static_cast<bool>(out), "the input could not be written to the scratch folder");
}

std::string ReadFuzzFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<CReferenceLine> ReferenceLines(std::string_view input) {
    std::string text;
    text.reserve(input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] == '\r' && i + 1 < input.size() && input[i + 1] == '\n') {
            continue;
        }
        text += input[i];
    }
    constexpr std::size_t kMaxLine = 999;
    std::vector<CReferenceLine> lines;
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && IsSpace(text[pos])) {
            ++pos;
        }
        if (pos == text.size()) {
            return lines;
        }
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\n' && end - pos < kMaxLine) {
            ++end;
        }
        const bool cut = end < text.size() && text[end] != '\n';
        lines.push_back({text.substr(pos, end - pos), cut});
        pos = (end < text.size() && text[end] == '\n') ? end + 1 : end;
    }
}

bool ReferenceIsComment(std::string_view line) {
    return (!line.empty() && line[0] == '#') || (line.size() >= 2 && line[1] == '#');
}

void FuzzFail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
