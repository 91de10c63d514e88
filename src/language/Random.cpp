#include "language/Random.h"

#include <cstdlib>
#include <ctime>

namespace {

bool seeded = false;

}  // namespace

std::uint32_t RandomInRange(std::uint32_t lo, std::uint32_t hi) {
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    const auto r = static_cast<std::uint32_t>(std::rand());
    // The whole 32-bit range has 2^32 values, which wraps to 0: every r fits.
    const std::uint32_t span = hi - lo + 1U;
    return span == 0 ? lo + r : lo + r % span;
}
