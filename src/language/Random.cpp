#include "language/Random.h"

#include <ctime>

namespace {

bool seeded = false;

CRandomSource& Source() {
    static CRandomSource source;
    return source;
}

}  // namespace

CRandomSource& ProcessRandomSource() {
    if (!seeded) SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    return Source();
}

void SeedRandom(unsigned seed) {
    Source().Seed(seed);
    seeded = true;
}
