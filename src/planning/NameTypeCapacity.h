#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CFragmentList;
class CLanguageTable;
class CNameType;

// What a name type can produce, worked out in one pass over its patterns
// and the fragment lists they name.
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
    // The fewest and the most bytes a name can have.
    std::uint64_t fewestBytes = 0;
    std::uint64_t mostBytes = 0;
    // The average length in bytes of the names made.
    double expectedBytes = 0.0;
};

CNameTypeCapacity MeasureNameType(const CNameType& nameType, const CLanguageTable& table);

// Calls `visit` with every name a name type can make by one choice of
// fragments, and that choice's chance per draw; joins can collide ("a"+"bc"
// and "ab"+"c"), so one name may come more than once. False, without a
// call, when that would mean more than `limit` joins.
bool ForEachJoin(const CNameType& nameType, const CLanguageTable& table, std::uint64_t limit,
                 const std::function<void(const std::string& name, double chance)>& visit);
// The same, but a `visit` that returns false ends the walk: the joins after
// it are not visited.
bool ForEachJoinUntil(const CNameType& nameType, const CLanguageTable& table, std::uint64_t limit,
                      const std::function<bool(const std::string& name, double chance)>& visit);

// A pattern that can be chosen: its chance per draw, and the lists it draws
// from, in order, each with whether its first letter becomes a capital. A
// list that is missing or empty draws nothing and is left out.
struct CChosenPattern {
    double chance = 0.0;
    std::vector<std::pair<const CFragmentList*, bool>> positions;
};

// The patterns of `nameType` that can be chosen, in the order of the file.
std::vector<CChosenPattern> ChosenPatterns(const CNameType& nameType, const CLanguageTable& table);

// How many joins --unique and the filters may make to count names exactly.
inline constexpr std::uint64_t kEnumerationLimit = 1000000;

// Saturating arithmetic for counts that may exceed 64 bits.
std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b);
std::uint64_t SaturatingMultiply(std::uint64_t a, std::uint64_t b);
