#pragma once

#include <array>
#include <cstdint>

// The random sequence of the C library's rand() after srand(seed), held in an
// object of its own: glibc's additive feedback generator of degree 31 (its
// TYPE_3), r[i] = r[i-31] + r[i-3] modulo 2^32, each draw the sum shifted
// right by one. Seeded data therefore gives the names it always gave, while
// a program that embeds Veltrano keeps its own rand() sequence, and any
// number of sources can draw side by side, one thread each.
class CRandomSource {
  public:
    // The largest value Next() returns, RAND_MAX.
    static constexpr std::uint32_t kMax = 0x7FFFFFFF;

    explicit CRandomSource(unsigned seed = 1) { Seed(seed); }

    // As srand(seed) does; 0 acts as 1.
    void Seed(unsigned seed);

    // The next value of the sequence, 0 to kMax: what rand() returns.
    std::uint32_t Next() {
        const std::uint32_t sum = m_state[m_front] += m_state[m_rear];
        m_front = m_front + 1 == kDegree ? 0 : m_front + 1;
        m_rear = m_rear + 1 == kDegree ? 0 : m_rear + 1;
        return sum >> 1;
    }

    // A number from lo to hi inclusive (lo <= hi): lo + Next() modulo the
    // size of the range, taken in 32 bits.
    std::uint32_t InRange(std::uint32_t lo, std::uint32_t hi) {
        const std::uint32_t span = hi - lo + 1;
        // The whole 32-bit range wraps to 0; every value of Next() lies in it.
        return span == 0 ? lo + Next() : lo + Next() % span;
    }

  private:
    static constexpr unsigned kDegree = 31;
    static constexpr unsigned kSeparation = 3;

    std::array<std::uint32_t, kDegree> m_state{};
    unsigned m_front = kSeparation;
    unsigned m_rear = 0;
};
