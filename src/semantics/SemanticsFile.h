#pragma once

#include <cstdint>
#include <string_view>

// What one line of the semantics file is, its fields not yet interpreted.
struct CSemanticsLine {
    enum class Kind {
        kComment,    // empty, or '#' as its first or second byte
        kHeader,     // section: the culture's name
        kData,       // label, weight, nameType, listNames
        kMalformed,  // a data line with fewer than three ':'
    };
    Kind kind;
    std::string_view section;
    std::string_view label;
    std::string_view weight;
    std::string_view nameType;
    std::string_view listNames;
};

CSemanticsLine ParseSemanticsLine(std::string_view line);

// The weight a data line gives its pattern: the field as ParseWeight reads
// it, with 0 (and so an empty field) standing for the usual weight 10.
std::int32_t PatternWeight(std::string_view field);
