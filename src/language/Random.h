#pragma once

#include <cstdint>

#include "language/RandomSource.h"

// The random source of the process, which the desktop program draws from.
// Its first use seeds it from the clock, in whole seconds, unless SeedRandom
// came first.
CRandomSource& ProcessRandomSource();

// A number from lo to hi inclusive (lo <= hi), drawn from the process's
// source.
inline std::uint32_t RandomInRange(std::uint32_t lo, std::uint32_t hi) {
    return ProcessRandomSource().InRange(lo, hi);
}

// Seeds the process's source with `seed` in place of the clock, before or
// after the first draw: the draws that follow are those of rand() after
// srand(seed).
void SeedRandom(unsigned seed);
