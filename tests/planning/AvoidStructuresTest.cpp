// The avoid lists' matcher and set, each against the plain way of answering
// the same question, on many small random inputs over a few letters, so that
// entries overlap, repeat and hold one another as they seldom do by hand.

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "planning/ContainsMatcher.h"
#include "planning/FoldedTextSet.h"

namespace {

// Letters on both sides of the ASCII table and beyond 16 bits.
constexpr char32_t kLetters[] = {U'a', U'b', U'c', U'\u00e4', U'\U00010428'};

std::u32string RandomText(std::mt19937& random, int maxLength) {
    std::u32string text(std::uniform_int_distribution<int>(0, maxLength)(random), U'a');
    std::generate(text.begin(), text.end(),
                  [&] { return kLetters[random() % std::size(kLetters)]; });
    return text;
}

// With full rows for every node and with a row for the root alone, so that
// both ways of stepping and the failure links between them are checked.
TEST(ContainsMatcher, FindsWhatASearchForEachEntryFinds) {
    std::mt19937 random(7);
    for (const std::size_t denseCells : {CContainsMatcher::kMaxDenseCells, std::size_t{1}}) {
        for (int round = 0; round < 300; ++round) {
            std::vector<std::u32string> entries(1 + random() % 6);
            for (std::u32string& entry : entries) entry = RandomText(random, 4);
            CContainsMatcher matcher;
            matcher.Build(entries, denseCells);
            for (int probe = 0; probe < 20; ++probe) {
                const std::u32string text = RandomText(random, 12);
                const bool expected = std::any_of(entries.begin(), entries.end(), [&](auto& e) {
                    return !e.empty() && text.find(e) != std::u32string::npos;
                });
                ASSERT_EQ(matcher.FindsIn(text), expected)
                    << "round " << round << ", cells " << denseCells;
            }
        }
    }
}

// Batches with repeats inside and across them, some discarded, over enough
// texts that the table grows several times.
TEST(FoldedTextSet, HoldsEachCommittedTextOnceAndNothingDiscarded) {
    std::mt19937 random(11);
    CFoldedTextSet set;
    std::set<std::u32string> expected;
    for (int batch = 0; batch < 200; ++batch) {
        std::vector<std::u32string> texts(random() % 12);
        for (std::u32string& text : texts) text = RandomText(random, 5);
        for (const std::u32string& text : texts) set.Stage(text);
        if (batch % 5 == 4) {
            set.Discard();
        } else {
            set.Commit();
            expected.insert(texts.begin(), texts.end());
        }
        ASSERT_EQ(set.Size(), expected.size()) << "batch " << batch;
    }
    for (int probe = 0; probe < 2000; ++probe) {
        const std::u32string text = RandomText(random, 5);
        ASSERT_EQ(set.Contains(text), expected.count(text) == 1);
    }
    std::set<std::u32string> held;
    set.AnyOf([&](std::u32string_view text) { return !held.emplace(text).second; });
    EXPECT_EQ(held, expected);
}

}  // namespace
