#include "language/RandomSource.h"

void CRandomSource::Seed(unsigned seed) {
    if (seed == 0) seed = 1;
    // The seeding of glibc's srandom_r: a Lehmer sequence in 32-bit signed
    // arithmetic, where seeds from 2^31 on start out negative.
    auto word = static_cast<std::int32_t>(seed);
    m_state[0] = seed;
    for (unsigned i = 1; i < kDegree; ++i) {
        const std::int64_t hi = word / 127773;
        const std::int64_t lo = word % 127773;
        word = static_cast<std::int32_t>(16807 * lo - 2836 * hi);
        if (word < 0) word += 2147483647;
        m_state[i] = static_cast<std::uint32_t>(word);
    }
    m_front = kSeparation;
    m_rear = 0;
    // The first ten rounds of the sequence are thrown away, as srand() does.
    for (unsigned i = 0; i < 10 * kDegree; ++i) Next();
}
