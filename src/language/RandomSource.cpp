#include "language/RandomSource.h"

#include <algorithm>

void CRandomSource::Seed(unsigned seed) {
    if (seed == 0) seed = 1;
    // The seeding of glibc's srandom_r: a Lehmer sequence in 32-bit signed
    // arithmetic, where seeds from 2^31 on start out negative.
    auto word = static_cast<std::int32_t>(seed);
    m_sums[0] = seed;
    for (unsigned i = 1; i < kDegree; ++i) {
        const std::int64_t hi = word / 127773;
        const std::int64_t lo = word % 127773;
        word = static_cast<std::int32_t>(16807 * lo - 2836 * hi);
        if (word < 0) word += 2147483647;
        m_sums[i] = static_cast<std::uint32_t>(word);
    }
    // srandom_r's ring starts its front three places ahead of its rear:
    // as a sequence, the three values after the 31 repeat the first three.
    std::copy_n(m_sums.begin(), kHistory - kDegree, m_sums.begin() + kDegree);
    m_next = kBlock;
    // The first ten rounds of the sequence are thrown away, as srand() does.
    for (unsigned i = 0; i < 10 * kDegree; ++i) Next();
}

void CRandomSource::Refill() {
    // The three latest sums ride in registers: each new sum needs the one
    // three back, which a loop reading it from memory would wait for.
    std::uint32_t* const sums = m_sums.data();
    std::uint32_t back3 = sums[kHistory - 3];
    std::uint32_t back2 = sums[kHistory - 2];
    std::uint32_t back1 = sums[kHistory - 1];
    for (unsigned i = kHistory; i < kHistory + kBlock; ++i) {
        const std::uint32_t sum = sums[i - kDegree] + back3;
        sums[i] = sum;
        m_block[i - kHistory] = sum >> 1;
        back3 = back2;
        back2 = back1;
        back1 = sum;
    }
    std::copy_n(m_sums.end() - kHistory, kHistory, m_sums.begin());
    m_next = 0;
}
