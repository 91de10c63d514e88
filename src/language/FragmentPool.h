#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "language/RandomSource.h"

// Upper-cases one byte as the C library does in its default locale: only a
// to z change.
inline char UpperCaseAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A list's fragments as drawing wants them: every byte in one block, which
// ends in spare bytes, so that a fragment of up to 16 bytes is copied by one
// 16-byte move whatever its length, and a draw follows no string's pointer.
// Made for a list with fragments, with or without the capital letter, and
// never changed: patterns share it.
class CFragmentPool {
  public:
    // What a copy may write, and read, beyond a fragment's end.
    static constexpr std::size_t kPadding = 16;

    // The pool of `fragments`, which must not be empty, each with its first
    // byte upper-cased when `capital` is set.
    CFragmentPool(const std::vector<std::string>& fragments, bool capital);

    std::uint32_t Count() const { return m_count.Value(); }
    // The longest fragment's bytes.
    std::size_t MostBytes() const { return m_mostBytes; }

    // Writes the fragment that `draw` picks (draw modulo the count) at
    // `target`, which has room for MostBytes() + kPadding bytes; returns
    // where it ends.
    char* Write(char* target, std::uint32_t draw) const { return WriteAt(target, Pick(draw)); }
    // The index, in the list's order, of the fragment that `draw` picks.
    std::uint32_t Pick(std::uint32_t draw) const { return m_count.Remainder(draw); }
    // Writes the fragment at index `at` as Write does.
    char* WriteAt(char* target, std::uint32_t at) const {
        const char* const piece = m_bytes.get() + m_offsets[at];
        const std::size_t length = m_offsets[at + 1] - m_offsets[at];
        std::memcpy(target, piece, kPadding);
        if (length > kPadding) std::memcpy(target + kPadding, piece + kPadding, length - kPadding);
        return target + length;
    }

  private:
    CDivisor m_count;
    std::size_t m_mostBytes = 0;
    std::unique_ptr<std::size_t[]> m_offsets;  // Count() + 1: where each begins, then the end
    std::unique_ptr<char[]> m_bytes;
};
