#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Folded texts, each once, for asking whether a name is one of them.
//
// Drawn names are asked about by the million and are seldom in the set, so a
// lookup that misses must not wait for memory: a Bloom filter in blocks of 256
// bits (8 to 16 bits a text, small enough to stay in the cache) answers most
// misses by one block. Behind it the set is flat: one buffer holds the texts,
// each after its length, and an open-addressed table, at most half full,
// holds their hashes and places, so that a hit reads one slot and one stretch
// of text. (A node-based set chased three or four pointers through memory a
// lookup and took 400 ns a name for 10^5 entries.)
class CFoldedTextSet {
  public:
    // Texts come in two steps, so that a file that fails halfway adds
    // nothing: Stage keeps a text aside, Commit adds every text staged since
    // the last Commit or Discard, and Discard drops them.
    void Stage(std::u32string_view text);
    void Commit();
    void Discard() { m_text.resize(m_committed); }
    void Insert(std::u32string_view text) {
        Stage(text);
        Commit();
    }
    // Room for more texts of `characters` characters in all, their lengths
    // counted as one each, so that staging a file copies nothing.
    void Reserve(std::size_t characters) { m_text.reserve(m_text.size() + characters); }

    bool Contains(std::u32string_view text) const;
    std::size_t Size() const { return m_size; }

    // Whether any text passes `predicate`.
    template <typename Predicate>
    bool AnyOf(Predicate predicate) const {
        for (std::size_t at = 0; at < m_committed; at += 1 + m_text[at]) {
            if (predicate(TextAt(at))) return true;
        }
        return false;
    }

  private:
    // A slot keeps the upper half of a text's hash, which also picks the slot
    // and the filter block; the whole hash picks the bits in the block.
    struct CSlot {
        std::uint32_t hash = 0;
        std::uint32_t at = kFree;  // where the text's length stands in m_text
    };
    static constexpr std::uint32_t kFree = UINT32_MAX;
    using CFilterBlock = std::array<std::uint32_t, 8>;

    std::u32string_view TextAt(std::size_t at) const {
        return std::u32string_view(m_text).substr(at + 1, m_text[at]);
    }
    // The slot that holds `text`, or the free slot where it would go.
    std::size_t SlotOf(std::u32string_view text, std::uint32_t upperHash) const;
    bool MayHold(std::uint64_t hash) const;
    void Place(std::uint32_t at, std::uint64_t hash);
    // Makes the table and the filter anew for `texts` texts.
    void Resize(std::size_t texts);

    std::u32string m_text;  // lengths and texts; staged ones after m_committed
    std::size_t m_committed = 0;
    std::size_t m_size = 0;
    std::vector<CSlot> m_slots;          // a power of two of them, or none
    std::vector<CFilterBlock> m_filter;  // a 64th as many as slots
};
