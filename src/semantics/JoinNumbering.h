#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CNameType;

// Numbers every choice of fragments a name type can make, its patterns one
// after another, so that a name's number tells which pattern and which
// fragment of each list made it without its bytes. As a note to
// CNameType::AppendNames it keeps the numbers of the names drawn.
class CJoinNumbering {
  public:
    // Numbers the joins of `nameType`, which must outlive the numbering;
    // false when there are more than `limit`.
    bool Prepare(const CNameType& nameType, std::uint64_t limit);
    // The numbers run from 0 to Count() - 1; Count() itself stands for the
    // empty name that a name type without a pattern to choose makes.
    std::uint64_t Count() const { return m_count; }
    // The numbers of the names drawn since the last Clear, in order.
    const std::vector<std::uint64_t>& Numbers() const { return m_numbers; }
    void Clear() { m_numbers.clear(); }

    void Pattern(std::size_t index) {
        if (index >= m_patterns.size()) {
            m_numbers.push_back(m_count);
            return;
        }
        m_numbers.push_back(m_patterns[index].first);
        m_stride = m_patterns[index].strides.data();
    }
    void Fragment(std::uint32_t at) { m_numbers.back() += at * *m_stride++; }

  private:
    // A pattern's joins are numbered from `first` on, each fragment's index
    // times the stride of its list: the product of the counts of the lists
    // after it.
    struct CPatternNumbers {
        std::uint64_t first = 0;
        std::vector<std::uint64_t> strides;
    };
    std::vector<CPatternNumbers> m_patterns;
    const std::uint64_t* m_stride = nullptr;
    std::vector<std::uint64_t> m_numbers;
    std::uint64_t m_count = 0;
};
