#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SeededDraws.h"
#include "language/LanguageTable.h"
#include "language/Random.h"

namespace {

constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();

CFragmentList ListOf(const std::string& name, const std::vector<std::string>& fragments) {
    CFragmentList list(name);
    for (const std::string& f : fragments) list.Add(f);
    return list;
}

// Runs before any other draw of the process: the clock seeds the source.
TEST(Random, FirstDrawSeedsFromClockInWholeSeconds) {
    const auto before = static_cast<unsigned>(std::time(nullptr));
    std::srand(12345);  // must be overridden by the first draw
    const std::uint32_t drawn = RandomInRange(0, kMax);
    const auto after = static_cast<unsigned>(std::time(nullptr));
    std::set<std::uint32_t> expected;
    for (unsigned t = before; t <= after; ++t) {
        std::srand(t);
        expected.insert(static_cast<std::uint32_t>(std::rand()));
    }
    EXPECT_EQ(expected.count(drawn), 1u) << drawn;
}

// Runs before any other draw of the process: no clock seed may follow.
TEST(Random, SeedBeforeTheFirstDrawLasts) {
    SeedRandom(77);
    const std::uint32_t first = RandomInRange(0, kMax);
    const std::uint32_t second = RandomInRange(0, kMax);
    std::srand(77);
    EXPECT_EQ(first, static_cast<std::uint32_t>(std::rand()));
    EXPECT_EQ(second, static_cast<std::uint32_t>(std::rand()));
    // And after draws, as a program's seed option comes.
    SeedRandom(78);
    const std::uint32_t later = RandomInRange(0, kMax);
    std::srand(78);
    EXPECT_EQ(later, static_cast<std::uint32_t>(std::rand()));
}

TEST(Random, ReducesOneDrawIntoTheRange) {
    const struct {
        std::uint32_t lo;
        std::uint32_t hi;
    } ranges[] = {
        {0, 0}, {5, 5}, {0, 1}, {1, 10}, {3, 7}, {0, kMax}, {1, kMax}, {kMax, kMax}, {0, kMax - 1},
    };
    for (unsigned seed = 1; seed <= 20; ++seed) {
        for (const auto& r : ranges) {
            const std::vector<int> draws = SeedDraws(seed, 2);
            const std::uint32_t size = r.hi - r.lo + 1;  // 0 stands for 2^32
            const auto draw = static_cast<std::uint32_t>(draws[0]);
            const std::uint32_t expected = r.lo + (size == 0 ? draw : draw % size);
            EXPECT_EQ(RandomInRange(r.lo, r.hi), expected) << r.lo << ".." << r.hi;
            EXPECT_EQ(DrawsMade(draws), 1) << r.lo << ".." << r.hi;
        }
    }
}

class WordAssembly : public ::testing::Test {
  protected:
    void SetUp() override {
        table.Store("elfstart", ListOf("elfstart", {"ae", "lor"}));
        table.Store("elfmid", ListOf("elfmid", {"an", ""}));
        table.Store("elfend", ListOf("elfend", {"dil", "wen"}));
        table.Store("a", ListOf("a", {"xy"}));
        table.Store("b", ListOf("b", {"uv"}));
        table.Store("digit", ListOf("digit", {"1ab"}));
        table.Store("blank", ListOf("blank", {" ab"}));
        table.Store("upper", ListOf("upper", {"Ab"}));
        table.Store("accented", ListOf("accented", {"\xe9t\xe9"}));
        table.Store("emptyfragment", ListOf("emptyfragment", {""}));
        table.Store("none", ListOf("none", {}));
        table.Store("", ListOf("", {"q"}));
        table.Store("a^b", ListOf("a^b", {"z"}));
    }
    CLanguageTable table;
};

TEST_F(WordAssembly, CapitalMarksAndMissingListsDrawAsStated) {
    const struct {
        const char* name;
        std::vector<std::string> listNames;
        std::string word;
        int draws;
    } cases[] = {
        {"marked single fragment", {"^a"}, "Xy", 1},
        {"second position marked", {"a", "^b"}, "xyUv", 2},
        {"digit stays", {"^digit"}, "1ab", 1},
        {"blank stays", {"^blank"}, " ab", 1},
        {"upper case stays", {"^upper"}, "Ab", 1},
        {"accented letter stays", {"^accented"}, "\xe9t\xe9", 1},
        {"empty fragment still draws", {"^emptyfragment", "a"}, "xy", 2},
        {"marked missing list adds nothing, mark not carried", {"^missing", "a"}, "xy", 1},
        {"marked empty list draws nothing", {"^none", "a"}, "xy", 1},
        {"missing middle list", {"a", "missing", "b"}, "xyuv", 2},
        {"empty sequence", {}, "", 0},
        {"mark alone is the empty list name", {"^"}, "Q", 1},
        {"later caret is part of the name", {"a^b"}, "z", 1},
        {"only the first caret marks", {"^^a"}, "", 0},
        {"names are not trimmed", {" a", "a "}, "", 0},
    };
    for (const auto& c : cases) {
        const std::vector<int> draws = SeedDraws(7, 4);
        EXPECT_EQ(table.MakeWord(c.listNames), c.word) << c.name;
        EXPECT_EQ(DrawsMade(draws), c.draws) << c.name;
    }
}

TEST_F(WordAssembly, ExampleSequenceUsesOneDrawPerPositionInOrder) {
    const std::vector<std::string> pattern = {"^elfstart", "elfmid", "elfend"};
    const std::vector<std::string> start = {"Ae", "Lor"};
    const std::vector<std::string> mid = {"an", ""};
    const std::vector<std::string> end = {"dil", "wen"};
    std::set<std::string> seen;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const std::vector<int> d = SeedDraws(seed, 4);
        const std::string expected = start[d[0] % 2] + mid[d[1] % 2] + end[d[2] % 2];
        const std::string word = table.MakeWord(pattern);
        EXPECT_EQ(word, expected) << "seed " << seed;
        EXPECT_EQ(DrawsMade(d), 3) << "seed " << seed;
        seen.insert(word);
    }
    EXPECT_EQ(seen, (std::set<std::string>{"Aeandil", "Aeanwen", "Aedil", "Aewen", "Lorandil",
                                           "Loranwen", "Lordil", "Lorwen"}));
}

TEST_F(WordAssembly, EmptyTableGivesEmptyWords) {
    const CLanguageTable empty;
    const std::vector<int> draws = SeedDraws(3, 2);
    EXPECT_EQ(empty.MakeWord({"^elfstart", "elfend"}), "");
    EXPECT_EQ(DrawsMade(draws), 0);
}

TEST(FragmentList, PickRandomChoosesByDrawModuloCount) {
    const CFragmentList list = ListOf("l", {"a", "b", "c", "b"});
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const std::vector<int> d = SeedDraws(seed, 2);
        EXPECT_EQ(list.PickRandom(), list.m_fragments[static_cast<std::size_t>(d[0] % 4)]);
        EXPECT_EQ(DrawsMade(d), 1);
    }
}

TEST(FragmentList, EmptyListPicksNothingWithoutDrawing) {
    const CFragmentList list("empty");
    const std::vector<int> d = SeedDraws(9, 2);
    EXPECT_EQ(list.PickRandom(), "");
    std::string word = "kept";
    list.AppendRandom(word, true);
    EXPECT_EQ(word, "kept");
    EXPECT_EQ(DrawsMade(d), 0);
}

}  // namespace
