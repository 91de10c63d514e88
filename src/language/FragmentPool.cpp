#include "language/FragmentPool.h"

#include <algorithm>

CFragmentPool::CFragmentPool(const std::vector<std::string>& fragments, bool capital)
    : m_count(static_cast<std::uint32_t>(fragments.size())),
      m_offsets(std::make_unique<std::size_t[]>(fragments.size() + 1)) {
    std::size_t total = 0;
    for (const std::string& fragment : fragments) {
        total += fragment.size();
        m_mostBytes = std::max(m_mostBytes, fragment.size());
    }
    // Zeroed, spare bytes included: they are copied, never shown.
    m_bytes = std::make_unique<char[]>(total + kPadding);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < fragments.size(); ++i) {
        m_offsets[i] = offset;
        char* const piece = m_bytes.get() + offset;
        std::copy(fragments[i].begin(), fragments[i].end(), piece);
        if (capital && !fragments[i].empty()) piece[0] = UpperCaseAscii(piece[0]);
        offset += fragments[i].size();
    }
    m_offsets[fragments.size()] = offset;
}
