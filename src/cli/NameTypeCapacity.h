#pragma once

#include <cstdint>

class CLanguageTable;
class CNameType;

// What a name type can produce, worked out from its patterns and the
// fragment lists they name.
struct CNameTypeCapacity {
    // An upper bound of the distinct names: per pattern that can be chosen,
    // the product of the distinct fragments of its lists (after the capital
    // letter), summed over patterns with different lists. Different patterns
    // or joins can still make the same name, so the true number may be
    // smaller. Saturates at the largest 64-bit value.
    std::uint64_t maxDistinctNames = 0;
    // A lower bound of the chance of any name that can be produced at all,
    // as the natural logarithm (0 for a certain name).
    double logMinNameProbability = 0.0;
    // Some pattern that can be chosen makes a name that is not empty.
    bool makesNonEmptyNames = false;
};

CNameTypeCapacity MeasureNameType(const CNameType& nameType, const CLanguageTable& table);

// How many draws in a row may bring no new name before --unique gives up.
// Enough that a name that can still come has had its chance many times over
// (e^-40 that it was merely unlucky), but no more than a few dozen draws per
// name asked for, so that data whose distinct names fall short of the bound
// ends in a message rather than in a long wait.
std::uint64_t ConsecutiveMissLimit(const CNameTypeCapacity& capacity, std::uint64_t count);

// Saturating arithmetic for counts that may exceed 64 bits.
std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b);
std::uint64_t SaturatingMultiply(std::uint64_t a, std::uint64_t b);
