#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli/NameTypeCapacity.h"
#include "language/LanguageTable.h"
#include "semantics/Semantics.h"

namespace {

constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

class NameTypeCapacity : public ::testing::Test {
  protected:
    void SetUp() override {
        AddList("abc", {"x", "y", "z"});
        AddList("two", {"1", "2"});
        AddList("twice", {"x", "x", "y"});
        AddList("cases", {"ae", "Ae", "be"});
        AddList("empty", {});
        AddList("blank", {""});
    }

    void AddList(const std::string& name, const std::vector<std::string>& fragments) {
        CFragmentList list(name);
        for (const std::string& fragment : fragments) list.Add(fragment);
        table.Store(name, list);
    }

    CNameTypeCapacity Measure(const std::vector<std::pair<std::string, std::int32_t>>& patterns) {
        CNameType nameType("T");
        for (const auto& [lists, weight] : patterns) {
            nameType.AddPattern(CNamePattern("p", "T", lists, weight));
        }
        return MeasureNameType(nameType, table);
    }

    CLanguageTable table;
};

TEST_F(NameTypeCapacity, DistinctNamesOfEachPatternAddUp) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::int32_t>> patterns;
        std::uint64_t expected;
    } cases[] = {
        {"one list", {{"abc", 1}}, 3},
        {"product of the positions", {{"abc,two", 1}}, 6},
        {"sum over patterns", {{"abc,two", 10}, {"two", 5}}, 8},
        {"a fragment listed twice counts once", {{"twice", 1}}, 2},
        {"the capital letter merges ae and Ae", {{"^cases", 1}}, 2},
        {"without the capital they differ", {{"cases", 1}}, 3},
        {"missing and empty lists add nothing", {{"abc,missing,empty", 1}}, 3},
        {"patterns with the same lists count once", {{"abc,two", 1}, {"abc,two", 7}}, 6},
        {"the capital makes other lists", {{"abc", 1}, {"^abc", 1}}, 6},
        {"a never-chosen pattern counts nothing", {{"abc,two", -1}, {"two", 1}}, 2},
        {"no list at all is the empty name", {{"missing", 1}}, 1},
        {"all weights negative: only the empty name", {{"abc", -5}}, 1},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Measure(row.patterns).maxDistinctNames, row.expected);
    }
}

TEST_F(NameTypeCapacity, HugeProductsSaturate) {
    std::vector<std::string> fragments;
    fragments.reserve(70000);
    for (int i = 0; i < 70000; ++i) fragments.push_back(std::to_string(i));
    AddList("big", fragments);
    // 70000^4 is beyond 2^64.
    EXPECT_EQ(Measure({{"big,big,big,big", 1}}).maxDistinctNames, kMax64);
    EXPECT_EQ(Measure({{"big,big,big,big", 1}, {"abc", 1}}).maxDistinctNames, kMax64);
    EXPECT_EQ(Measure({{"big,big,big", 1}}).maxDistinctNames, 343000000000000u);
}

TEST_F(NameTypeCapacity, PatternBeyondTheSaturatedTotalIsNeverChosen) {
    // The total stops at 2^32 - 1: the third pattern keeps one draw, the
    // fourth none.
    const CNameTypeCapacity capacity =
        Measure({{"abc", kMax32}, {"two", kMax32}, {"twice", 5}, {"cases", 5}});
    EXPECT_EQ(capacity.maxDistinctNames, 3u + 2u + 2u);
}

TEST_F(NameTypeCapacity, EmptyNamesOnlyWhenNoChosenPatternHasAFragment) {
    EXPECT_FALSE(Measure({{"blank", 1}}).makesNonEmptyNames);
    EXPECT_FALSE(Measure({{"blank,empty,missing", 1}}).makesNonEmptyNames);
    EXPECT_FALSE(Measure({{"abc", -1}, {"blank", 1}}).makesNonEmptyNames);
    EXPECT_TRUE(Measure({{"blank", 1}, {"blank,two", 1}}).makesNonEmptyNames);
}

TEST_F(NameTypeCapacity, RarestNameChanceFollowsWeightsAndDuplicates) {
    // Pattern 1 has a quarter of the draws and "y" a third of its list.
    const CNameTypeCapacity capacity = Measure({{"twice", 1}, {"abc", 3}});
    EXPECT_NEAR(capacity.logMinNameProbability, std::log(1.0 / 4 / 3), 1e-9);
}

TEST(ConsecutiveMisses, LimitLiesBetweenFloorAndAFewDozenDrawsPerName) {
    CNameTypeCapacity capacity;
    capacity.logMinNameProbability = std::log(1.0 / 8);
    EXPECT_EQ(ConsecutiveMissLimit(capacity, 5), 1000u);
    capacity.logMinNameProbability = std::log(1.0 / 100000);
    EXPECT_EQ(ConsecutiveMissLimit(capacity, 100000), 4000000u);
    EXPECT_EQ(ConsecutiveMissLimit(capacity, 5), 1000000u);
    capacity.logMinNameProbability = -1000.0;
    EXPECT_EQ(ConsecutiveMissLimit(capacity, 5), 1000000u);
    EXPECT_EQ(ConsecutiveMissLimit(capacity, 200000), 12800000u);
    EXPECT_EQ(ConsecutiveMissLimit(capacity, kMax64), kMax64);
}

TEST(SaturatingArithmetic, StopsAtTheLargestValue) {
    EXPECT_EQ(SaturatingAdd(kMax64 - 1, 1), kMax64);
    EXPECT_EQ(SaturatingAdd(kMax64, 1), kMax64);
    EXPECT_EQ(SaturatingAdd(2, 3), 5u);
    EXPECT_EQ(SaturatingMultiply(std::uint64_t{1} << 32, std::uint64_t{1} << 31),
              std::uint64_t{1} << 63);
    EXPECT_EQ(SaturatingMultiply(std::uint64_t{1} << 32, std::uint64_t{1} << 32), kMax64);
    EXPECT_EQ(SaturatingMultiply(0, kMax64), 0u);
    EXPECT_EQ(SaturatingMultiply(kMax64, 1), kMax64);
}

}  // namespace
