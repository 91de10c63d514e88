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
// bits (about 10 bits a text, small enough to stay in the cache) answers most
// misses by one block. Behind it the set is flat, and small, since a table
// costs its load a page fault for every 4 KiB it touches: one buffer holds the
// texts as UTF-8, each after its length, and an open-addressed table holds
// their hashes and places, so that a hit reads one slot and one stretch of
// text. (A node-based set chased three or four pointers through memory a
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
    // Room for texts of about `bytes` bytes of UTF-8 in all, so that staging
    // a file seldom copies the buffer.
    void Reserve(std::size_t bytes) { m_text.reserve(m_text.size() + bytes); }

    bool Contains(std::u32string_view text) const;
    std::size_t Size() const { return m_size; }

    // Whether any text passes `predicate`.
    template <typename Predicate>
    bool AnyOf(Predicate predicate) const {
        std::u32string text;
        for (std::size_t at = 0; at < m_committed;) {
            Decode(NextText(at), text);
            if (predicate(std::u32string_view(text))) return true;
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
    static constexpr std::size_t kFilterWords = 8;
    using CFilterBlock = std::array<std::uint32_t, kFilterWords>;

    // The text whose length stands at `at`; `at` moves on to the next one.
    std::string_view NextText(std::size_t& at) const;
    static void Decode(std::string_view utf8, std::u32string& characters);
    // Whether a text of hash `hash` that `same` accepts is in the table.
    template <typename Same>
    bool Holds(std::uint64_t hash, Same same) const;
    bool MayHold(std::uint64_t hash) const;
    void Place(std::uint32_t at, std::uint64_t hash);
    // Makes the table and the filter anew for `texts` texts.
    void Resize(std::size_t texts);

    std::string m_text;  // lengths and texts; staged ones after m_committed
    std::size_t m_committed = 0;
    std::size_t m_size = 0;
    std::vector<CSlot> m_slots;          // a power of two of them, or none
    std::vector<CFilterBlock> m_filter;  // a 32nd as many as slots
};
