#pragma once

#include <cstdint>

class CLanguageTable;
class CNameType;

// What a name type can make, as veltrano-cli --stats shows it. Each figure is
// exact where every join can be counted (the joins --unique counts, up to
// kEnumerationLimit); otherwise it is a proven bound, or for the repeats an
// estimate.
struct CNameTypeStats {
    // Patterns with a share of the total weight.
    std::uint64_t patterns = 0;
    // The distinct names, the empty one included: exactly `names` where
    // namesExact, otherwise at least `names` and at most `namesAtMost`,
    // which is the largest 64-bit value where no smaller bound is known.
    std::uint64_t names = 0;
    std::uint64_t namesAtMost = 0;
    // How many names of a list of 99 repeat one before them, on average.
    // Exact: 99 minus, over the distinct names, the chance that a list holds
    // the name. Otherwise estimated from kSampleNames names drawn with seed
    // 1, as the mean over the whole lists of 99 they make in order.
    double repeatsIn99 = 0.0;
    // The shortest and the longest name in characters as shown. Where not
    // exact, `shortest` is a lower bound and `longest` an upper one.
    std::uint64_t shortest = 0;
    std::uint64_t longest = 0;
    // The chance per draw of the rarest distinct name; where not exact, a
    // lower bound.
    double rarest = 0.0;

    // Only the empty name can come, which generation refuses: one name,
    // exactly, of no length and with the chance 1.
    bool onlyEmptyNames = false;
    bool namesExact = false;
    bool repeatsExact = false;
    bool lengthsExact = false;
    bool rarestExact = false;

    static constexpr std::uint64_t kListSize = 99;
    static constexpr std::uint64_t kSampleNames = 100000;
};

// Measures `nameType`, whose patterns name the lists of `table`. Counting
// builds no string for a join, so that a million joins take a fraction of a
// second.
CNameTypeStats MeasureNameTypeStats(const CNameType& nameType, const CLanguageTable& table);
