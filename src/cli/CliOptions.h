#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "planning/NameFilter.h"

// What the command line asks for, checked for consistency but not yet
// against the data.
struct CCliOptions {
    // CULTURE and NAMETYPE, the CULTURE of --list, or those of --stats.
    std::vector<std::string> arguments;
    std::uint64_t count = 1;
    std::optional<unsigned int> seed;
    std::optional<std::string> initFile;
    // The examples of --learn, which takes CULTURE and NAMETYPE.
    std::optional<std::string> learnFile;
    CNameFilterOptions filter;
    // The files of --avoid and --avoid-containing, each as often as given.
    std::vector<std::string> avoidFiles;
    std::vector<std::string> avoidContainingFiles;
    bool explain = false;
    bool crlf = false;
    bool unique = false;
    bool list = false;
    bool check = false;
    // --stats, and its table as tab-separated values.
    bool stats = false;
    bool tsv = false;
    bool help = false;
    bool version = false;
};

// Parses argv into `options`. False, with a German message in `error`, for an
// unknown option, a missing value, a number out of range or options that
// exclude each other.
bool ParseCliOptions(int argc, const char* const* argv, CCliOptions& options, std::string& error);

// Strict decimal readers: digits only, no sign, no blanks, nothing after.
bool ParseUnsigned64(std::string_view text, std::uint64_t& value);
bool ParseUnsignedInt(std::string_view text, unsigned int& value);

// The text of --help.
std::string CliHelpText();
// The text of --version.
std::string CliVersionText();
