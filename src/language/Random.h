#pragma once

#include <cstdint>

// A number from lo to hi inclusive (lo <= hi), drawn from the C library's
// rand(). The first draw of the process seeds rand() from the clock, in whole
// seconds; a program that calls srand() after that first draw gets the same
// sequence of numbers on every run.
std::uint32_t RandomInRange(std::uint32_t lo, std::uint32_t hi);

// Seeds the source with `seed` in place of the clock, before or after the
// first draw: the draws that follow are those of rand() after srand(seed).
void SeedRandom(unsigned seed);
