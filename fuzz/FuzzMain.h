#pragma once

// Included once by each fuzz program, whose FuzzOne is handed every input:
// files in a scratch folder, the rules all data files share, written out
// plainly as the oracle the readers are compared with, a check that stops the
// run, and in the normal build a main that replays the corpus and the
// regressions.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

void FuzzOne(std::string_view input);

// libFuzzer and the replay both take the abort as a finding.
inline void FuzzCheck(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// Under TMPDIR, which tools/fuzz and CTest give each program of its own.
std::string FuzzDir() { return std::filesystem::temp_directory_path() / "veltrano-fuzz"; }

std::string WriteFuzzFile(const std::string& name, std::string_view bytes) {
    std::filesystem::create_directories(FuzzDir());
    std::ofstream(FuzzDir() + "/" + name, std::ios::binary) << bytes;
    return FuzzDir() + "/" + name;
}

std::string ReadFuzzFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Puts `init` in the scratch folder as init.txt and the store, Veltrano.conf,
// beside it naming both; the next data object reads them.
void UseFuzzSettings(std::string_view init) {
    static CFileRegistryStore store(
        WriteFuzzFile("Veltrano.conf", "DataDir=" + FuzzDir() + "\nInitFile=init.txt\n"));
    WriteFuzzFile("init.txt", init);
    UseRegistryStore(&store);
    SettingsReloadPending = true;
}

// Where the first line of a data file or of the store starts: after a UTF-8
// byte-order mark, which editors write unseen, and otherwise at its first byte.
std::string_view FormatBody(std::string_view file) {
    return file.starts_with("\xef\xbb\xbf") ? file.substr(3) : file;
}

// The lines of an init, language or semantics file: a CR LF pair is a line
// end, white space before each line is skipped, a line ends at its LF or after
// 999 bytes.
std::vector<std::string> ReferenceLines(std::string_view file) {
    std::string text(FormatBody(file));
    for (std::size_t cr = text.find("\r\n"); cr != text.npos; cr = text.find("\r\n", cr)) {
        text.erase(cr, 1);
    }
    std::vector<std::string> lines;
    for (std::size_t pos = 0; (pos = text.find_first_not_of(" \t\n\v\f\r", pos)) != text.npos;) {
        lines.push_back(text.substr(pos, std::min(text.find('\n', pos), pos + 999) - pos));
        pos += lines.back().size();
    }
    return lines;
}

// '#' as the first or the second byte makes a comment; a header names what
// lies between its first and its last byte.
bool IsComment(const std::string& line) { return line.find('#') < 2; }
std::string HeaderName(const std::string& line) { return line.substr(1, line.size() - 2); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzOne({reinterpret_cast<const char*>(data), size});
    return 0;
}

#ifndef VELTRANO_LIBFUZZER
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const auto& input : std::filesystem::directory_iterator(argv[i])) {
            std::fprintf(stderr, "replaying %s\n", input.path().c_str());
            FuzzOne(ReadFuzzFile(input.path()));
        }
    }
}
#endif
