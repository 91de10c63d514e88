#include "planning/FoldedTextSet.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace {

// Multiplying carries every character into the high bits; the last steps
// spread them over the low ones too.
std::uint64_t HashOf(std::u32string_view text) {
    std::uint64_t hash = std::accumulate(
        text.begin(), text.end(), std::uint64_t{text.size()},
        [](std::uint64_t sum, char32_t c) { return (sum + c) * 0x9E3779B97F4A7C15ULL; });
    hash ^= hash >> 32;
    hash *= 0xD6E8FEB86659FD93ULL;
    return hash ^ (hash >> 32);
}

// The bit a text sets in word `word` of its filter block: five bits each
// from the top of one more product, whose top bits depend on all of the hash.
inline std::uint32_t FilterBit(std::uint64_t spread, std::size_t word) {
    return 1U << ((spread >> (59 - 5 * word)) & 31);
}

std::uint64_t Spread(std::uint64_t hash) { return hash * 0xC2B2AE3D27D4EB4FULL; }

}  // namespace

void CFoldedTextSet::Stage(std::u32string_view text) {
    m_text += static_cast<char32_t>(text.size());
    m_text += text;
}

// The staged texts are placed where they stand, but a text already in the set
// leaves the buffer, the texts after it moving up.
void CFoldedTextSet::Commit() {
    std::size_t staged = 0;
    for (std::size_t at = m_committed; at < m_text.size(); at += 1 + m_text[at]) ++staged;
    if (2 * (m_size + staged) > m_slots.size()) Resize(m_size + staged);
    std::size_t kept = m_committed;
    for (std::size_t at = m_committed; at < m_text.size();) {
        const std::size_t length = 1 + m_text[at];
        const std::uint64_t hash = HashOf(TextAt(at));
        if (m_slots[SlotOf(TextAt(at), static_cast<std::uint32_t>(hash >> 32))].at == kFree) {
            std::copy(m_text.begin() + static_cast<std::ptrdiff_t>(at),
                      m_text.begin() + static_cast<std::ptrdiff_t>(at + length),
                      m_text.begin() + static_cast<std::ptrdiff_t>(kept));
            Place(static_cast<std::uint32_t>(kept), hash);
            kept += length;
            ++m_size;
        }
        at += length;
    }
    m_text.resize(kept);
    m_committed = kept;
}

bool CFoldedTextSet::Contains(std::u32string_view text) const {
    if (m_slots.empty()) return false;
    const std::uint64_t hash = HashOf(text);
    return MayHold(hash) &&
           m_slots[SlotOf(text, static_cast<std::uint32_t>(hash >> 32))].at != kFree;
}

std::size_t CFoldedTextSet::SlotOf(std::u32string_view text, std::uint32_t upperHash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = upperHash & mask;; slot = (slot + 1) & mask) {
        const CSlot& at = m_slots[slot];
        if (at.at == kFree || (at.hash == upperHash && TextAt(at.at) == text)) return slot;
    }
}

bool CFoldedTextSet::MayHold(std::uint64_t hash) const {
    const CFilterBlock& block = m_filter[(hash >> 32) & (m_filter.size() - 1)];
    const std::uint64_t spread = Spread(hash);
    std::uint32_t missing = 0;
    for (std::size_t word = 0; word < block.size(); ++word) {
        missing |= ~block[word] & FilterBit(spread, word);
    }
    return missing == 0;
}

void CFoldedTextSet::Place(std::uint32_t at, std::uint64_t hash) {
    const auto upper = static_cast<std::uint32_t>(hash >> 32);
    m_slots[SlotOf(TextAt(at), upper)] = {upper, at};
    CFilterBlock& block = m_filter[upper & (m_filter.size() - 1)];
    const std::uint64_t spread = Spread(hash);
    for (std::size_t word = 0; word < block.size(); ++word) block[word] |= FilterBit(spread, word);
}

// Every committed text is hashed again: a slot keeps only half of a hash.
void CFoldedTextSet::Resize(std::size_t texts) {
    m_slots.assign(std::max<std::size_t>(64, std::bit_ceil(2 * texts)), CSlot{});
    m_filter.assign(m_slots.size() / 64, CFilterBlock{});
    for (std::size_t at = 0; at < m_committed; at += 1 + m_text[at]) {
        Place(static_cast<std::uint32_t>(at), HashOf(TextAt(at)));
    }
}
