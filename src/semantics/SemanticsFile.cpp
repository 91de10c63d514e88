#include "semantics/SemanticsFile.h"

#include <cstdint>
#include <limits>

#include "semantics/Semantics.h"
#include "settings/LineReader.h"

CSemanticsLine ParseSemanticsLine(std::string_view line) {
    CSemanticsLine parsed{};
    if (line.empty() || IsCommentLine(line)) {
        parsed.kind = CSemanticsLine::Kind::kComment;
        return parsed;
    }
    if (line[0] == '[') {
        parsed.kind = CSemanticsLine::Kind::kHeader;
        parsed.section = SectionName(line);
        return parsed;
    }
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    const std::size_t third =
        second == std::string_view::npos ? second : line.find(':', second + 1);
    if (third == std::string_view::npos) {
        parsed.kind = CSemanticsLine::Kind::kMalformed;
        return parsed;
    }
    parsed.kind = CSemanticsLine::Kind::kData;
    parsed.label = line.substr(0, first);
    parsed.weight = line.substr(first + 1, second - first - 1);
    parsed.nameType = line.substr(second + 1, third - second - 1);
    parsed.listNames = line.substr(third + 1);
    return parsed;
}

std::int32_t ParseWeight(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && IsCSpace(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    // Accumulate only up to just past the 32-bit range, so that a long row of
    // digits saturates instead of wrapping around.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (field[i] - '0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t PatternWeight(std::string_view field) {
    constexpr std::int32_t kWeightOfZero = 10;
    const std::int32_t weight = ParseWeight(field);
    return weight == 0 ? kWeightOfZero : weight;
}
