#include "planning/FoldedTextSet.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <utility>

namespace {

// Multiplying carries every character into the high bits; the last steps
// spread them over the low ones too. HashOf and HashOfUtf8 agree on a text.
constexpr std::uint64_t kHashFactor = 0x9E3779B97F4A7C15ULL;

std::uint64_t FinishHash(std::uint64_t hash, std::size_t length) {
    hash = (hash + length) * 0xD6E8FEB86659FD93ULL;
    return hash ^ (hash >> 32);
}

std::uint64_t HashOf(std::u32string_view text) {
    const std::uint64_t hash =
        std::accumulate(text.begin(), text.end(), std::uint64_t{0},
                        [](std::uint64_t sum, char32_t c) { return (sum + c) * kHashFactor; });
    return FinishHash(hash, text.size());
}

// The bit a text sets in word `word` of its filter block: five bits each
// from the top of one more product, whose top bits depend on all of the hash.
inline std::uint32_t FilterBit(std::uint64_t spread, std::size_t word) {
    return 1U << ((spread >> (59 - 5 * word)) & 31);
}

std::uint64_t Spread(std::uint64_t hash) { return hash * 0xC2B2AE3D27D4EB4FULL; }

// Word by word, written out, so that the shifts that pick the bits are
// constants: the loop over the words took half as many instructions again.
template <typename Block, std::size_t... Word>
std::uint32_t MissingBits(const Block& block, std::uint64_t spread,
                          std::index_sequence<Word...> /*words*/) {
    return ((~block[Word] & FilterBit(spread, Word)) | ...);
}

template <typename Block, std::size_t... Word>
void SetBits(Block& block, std::uint64_t spread, std::index_sequence<Word...> /*words*/) {
    ((block[Word] |= FilterBit(spread, Word)), ...);
}

std::size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

char* WriteUtf8(char* out, char32_t c) {
    constexpr unsigned char kLead[] = {0x00, 0x00, 0xC0, 0xE0, 0xF0};
    const std::size_t length = Utf8Length(c);
    if (length == 1) {
        *out++ = static_cast<char>(c);
        return out;
    }
    *out++ = static_cast<char>(kLead[length] | (c >> (6 * (length - 1))));
    for (std::size_t k = length - 1; k > 0; --k) {
        *out++ = static_cast<char>(0x80 | ((c >> (6 * (k - 1))) & 0x3F));
    }
    return out;
}

// The character at `at` of UTF-8 this set wrote itself, so known to be
// whole and valid; `at` moves past it.
char32_t NextCharacter(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at++]);
    if (lead < 0x80) return lead;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        c = (c << 6) | (static_cast<unsigned char>(utf8[at++]) & 0x3F);
    }
    return c;
}

bool EqualsUtf8(std::u32string_view text, std::string_view utf8) {
    std::size_t at = 0;
    const auto same = [&](char32_t c) { return at < utf8.size() && NextCharacter(utf8, at) == c; };
    return std::all_of(text.begin(), text.end(), same) && at == utf8.size();
}

std::uint64_t HashOfUtf8(std::string_view utf8) {
    std::uint64_t hash = 0;
    std::size_t length = 0;
    for (std::size_t at = 0; at < utf8.size(); ++length) {
        hash = (hash + NextCharacter(utf8, at)) * kHashFactor;
    }
    return FinishHash(hash, length);
}

}  // namespace

// Lengths are written seven bits a byte, lowest first, the top bit set in
// every byte but the last: a name's length takes one byte.
void CFoldedTextSet::Stage(std::u32string_view text) {
    const std::size_t bytes =
        std::accumulate(text.begin(), text.end(), std::size_t{0},
                        [](std::size_t sum, char32_t c) { return sum + Utf8Length(c); });
    for (std::size_t rest = bytes; rest >= 0x80; rest >>= 7) {
        m_text += static_cast<char>(0x80 | (rest & 0x7F));
    }
    m_text += static_cast<char>(bytes & 0x7F);
    const std::size_t start = m_text.size();
    m_text.resize(start + bytes);
    std::accumulate(text.begin(), text.end(), m_text.data() + start, WriteUtf8);
}

std::string_view CFoldedTextSet::NextText(std::size_t& at) const {
    const std::string_view rest = std::string_view(m_text).substr(at);
    std::size_t bytes = 0;
    std::size_t used = 0;
    for (unsigned shift = 0; used < rest.size(); shift += 7) {
        const auto byte = static_cast<unsigned char>(rest[used++]);
        bytes |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) break;
    }
    at += used + bytes;
    return rest.substr(used, bytes);
}

void CFoldedTextSet::Decode(std::string_view utf8, std::u32string& characters) {
    characters.clear();
    for (std::size_t at = 0; at < utf8.size();) characters += NextCharacter(utf8, at);
}

// The staged texts are placed where they stand, but a text already in the set
// leaves the buffer, the texts after it moving up.
void CFoldedTextSet::Commit() {
    std::size_t staged = 0;
    for (std::size_t at = m_committed; at < m_text.size();) {
        NextText(at);
        ++staged;
    }
    // Behind the filter, a table four fifths full still finds a text in a
    // probe or two; fuller, probing would run long.
    if (5 * (m_size + staged) > 4 * m_slots.size()) Resize(m_size + staged);
    std::size_t kept = m_committed;
    for (std::size_t at = m_committed; at < m_text.size();) {
        std::size_t next = at;
        const std::string_view text = NextText(next);
        const std::uint64_t hash = HashOfUtf8(text);
        // Equal texts are equal bytes: the set writes every character alike.
        const bool known = Holds(hash, [&](std::string_view held) { return held == text; });
        if (!known) {
            std::copy(m_text.begin() + static_cast<std::ptrdiff_t>(at),
                      m_text.begin() + static_cast<std::ptrdiff_t>(next),
                      m_text.begin() + static_cast<std::ptrdiff_t>(kept));
            Place(static_cast<std::uint32_t>(kept), hash);
            kept += next - at;
            ++m_size;
        }
        at = next;
    }
    m_text.resize(kept);
    m_committed = kept;
}

bool CFoldedTextSet::Contains(std::u32string_view text) const {
    if (m_slots.empty()) return false;
    const std::uint64_t hash = HashOf(text);
    return MayHold(hash) &&
           Holds(hash, [&](std::string_view held) { return EqualsUtf8(text, held); });
}

template <typename Same>
bool CFoldedTextSet::Holds(std::uint64_t hash, Same same) const {
    const auto upper = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = upper & mask;; slot = (slot + 1) & mask) {
        const CSlot& at = m_slots[slot];
        if (at.at == kFree) return false;
        std::size_t place = at.at;
        if (at.hash == upper && same(NextText(place))) return true;
    }
}

bool CFoldedTextSet::MayHold(std::uint64_t hash) const {
    const CFilterBlock& block = m_filter[(hash >> 32) & (m_filter.size() - 1)];
    return MissingBits(block, Spread(hash), std::make_index_sequence<kFilterWords>()) == 0;
}

// The slot is found by hash alone: the text is not in the table yet.
void CFoldedTextSet::Place(std::uint32_t at, std::uint64_t hash) {
    const auto upper = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = upper & mask;
    while (m_slots[slot].at != kFree) slot = (slot + 1) & mask;
    m_slots[slot] = {upper, at};
    CFilterBlock& block = m_filter[upper & (m_filter.size() - 1)];
    SetBits(block, Spread(hash), std::make_index_sequence<kFilterWords>());
}

// Every committed text is hashed again: a slot keeps only half of a hash.
void CFoldedTextSet::Resize(std::size_t texts) {
    m_slots.assign(std::max<std::size_t>(64, std::bit_ceil(texts + texts / 4 + 1)), CSlot{});
    m_filter.assign(m_slots.size() / 32, CFilterBlock{});
    for (std::size_t at = 0; at < m_committed;) {
        const auto start = static_cast<std::uint32_t>(at);
        Place(start, HashOfUtf8(NextText(at)));
    }
}
