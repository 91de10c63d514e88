#pragma once

#include <cstdlib>
#include <vector>

#include "language/Random.h"

// Makes the draws predictable. The first draw of the process seeds rand()
// from the clock, so that draw is made here before the sequence is fixed with
// srand(seed). Returns the next `count` values rand() will give; the
// generator is left at the start of them.
inline std::vector<int> SeedDraws(unsigned seed, int count) {
    RandomInRange(0, 0);
    std::srand(seed);
    std::vector<int> draws;
    draws.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) draws.push_back(std::rand());
    std::srand(seed);
    return draws;
}

// How many values were drawn since SeedDraws: the position of the next
// value rand() gives within `draws`, or -1 when it is not among them.
inline int DrawsMade(const std::vector<int>& draws) {
    const int next = std::rand();
    for (std::size_t i = 0; i < draws.size(); ++i) {
        if (draws[i] == next) return static_cast<int>(i);
    }
    return -1;
}
