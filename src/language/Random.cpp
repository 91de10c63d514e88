#include "language/Random.h"

#include <cstdlib>
#include <ctime>

namespace {

bool seeded = false;

}  // namespace

void SeedRandom(unsigned seed) {
    std::srand(seed);
    seeded = true;
}

std::uint32_t RandomInRange(std::uint32_t lo, std::uint32_t hi) {
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    const auto r = static_cast<std::uint32_t>(std::rand());
    // In 64 bits, so that the whole 32-bit range (2^32 values) does not wrap
    // to a divisor of 0; below that the result is the 32-bit modulo.
    const std::uint64_t span = std::uint64_t{hi} - lo + 1;
    return lo + static_cast<std::uint32_t>(r % span);
}
