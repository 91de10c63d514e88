#pragma once

#include <array>
#include <cstdint>

// Division by a number fixed in advance, done as two multiplications
// (Lemire's "fastmod"): a name needs a remainder for every list it draws
// from, and a division instruction costs ten times as much.
class CDivisor {
  public:
    CDivisor() = default;
    explicit CDivisor(std::uint32_t divisor)
        : m_divisor(divisor), m_magic(divisor == 0 ? 0 : ~std::uint64_t{0} / divisor + 1) {}

    std::uint32_t Value() const { return m_divisor; }
    // a modulo Value(), which must not be 0. Exact for every 32-bit a.
    std::uint32_t Remainder(std::uint32_t a) const {
        __extension__ using Wide = unsigned __int128;
        const std::uint64_t fraction = m_magic * a;
        return static_cast<std::uint32_t>((static_cast<Wide>(fraction) * m_divisor) >> 64);
    }

  private:
    std::uint32_t m_divisor = 0;
    std::uint64_t m_magic = 0;
};

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
        if (m_next == kBlock) Refill();
        return m_block[m_next++];
    }

    // A number from lo to hi inclusive (lo <= hi): lo + Next() modulo the
    // size of the range, taken in 32 bits.
    std::uint32_t InRange(std::uint32_t lo, std::uint32_t hi) {
        const std::uint32_t span = hi - lo + 1;
        // The whole 32-bit range wraps to 0; every value of Next() lies in it.
        return span == 0 ? lo + Next() : lo + Next() % span;
    }

    // Next() modulo a number fixed in advance (see CDivisor).
    std::uint32_t Below(const CDivisor& divisor) { return divisor.Remainder(Next()); }

    // Reads the source's values for a loop that draws many: the loop keeps
    // its place in the cursor, in registers, where the source's own place
    // would be read again after every byte the loop writes (a byte may alias
    // anything). The source is not to be used otherwise while a cursor
    // lives; the cursor gives its place back when it ends.
    class Cursor {
      public:
        explicit Cursor(CRandomSource& source)
            : m_source(source), m_at(source.m_block.data() + source.m_next) {}
        Cursor(const Cursor&) = delete;
        Cursor& operator=(const Cursor&) = delete;
        ~Cursor() { m_source.m_next = static_cast<unsigned>(m_at - m_source.m_block.data()); }

        std::uint32_t Next() {
            if (m_at == m_source.m_block.data() + kBlock) {
                m_source.Refill();
                m_at = m_source.m_block.data();
            }
            return *m_at++;
        }

      private:
        CRandomSource& m_source;
        const std::uint32_t* m_at;
    };

  private:
    static constexpr unsigned kDegree = 31;
    // r[i] = r[i-31] + r[i-3]: the sum needs the 31 values before it, and
    // srand() makes the first 31 and repeats three of them.
    static constexpr unsigned kHistory = kDegree + 3;
    // Values are made a block at a time, in a loop without the ring's
    // wrap-around, whose three interleaved sums run side by side.
    static constexpr unsigned kBlock = 128;

    void Refill();

    std::array<std::uint32_t, kHistory + kBlock> m_sums{};
    std::array<std::uint32_t, kBlock> m_block{};
    unsigned m_next = kBlock;
};
