// FoldedReading decodes UTF-8 itself, for speed; it must read every byte
// string exactly as ReadAsShown does, whose reading the window shows.

#include <algorithm>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "text/CaseFolding.h"
#include "text/TextReading.h"

namespace {

// Pieces that make valid UTF-8 of every length, and the near misses: an
// overlong form, a surrogate, a code point past Unicode, a cut sequence, a
// stray continuation byte, a Windows-1252 letter.
constexpr const char* kPieces[] = {
    "A",
    "z",
    "\xC3\x84",
    "\xCE\xA3",
    "\xE2\x84\xAA",
    "\xF0\x90\x90\x80",
    "\xC0\x80",
    "\xED\xA0\x80",
    "\xF4\x90\x80\x80",
    "\xE2\x84",
    "\x80",
    "\xC4",
};

TEST(FoldedReading, ReadsAsShownThenFolds) {
    std::mt19937 random(3);
    std::u32string folded;
    std::u32string expected;
    for (int round = 0; round < 5000; ++round) {
        std::string bytes;
        for (int n = static_cast<int>(random() % 5); n > 0; --n) {
            bytes += kPieces[random() % std::size(kPieces)];
        }
        ReadAsShown(bytes, expected);
        std::transform(expected.begin(), expected.end(), expected.begin(), FoldCase);
        FoldedReading(bytes, folded);
        ASSERT_EQ(folded, expected) << "round " << round;
    }
}

}  // namespace
