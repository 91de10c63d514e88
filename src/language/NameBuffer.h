#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

// The bytes of names being made. A name is a few short fragments, and
// std::string::append costs a call and a memmove for each; here a fragment of
// up to 16 bytes is copied in a few instructions, which decides how fast
// names stream out.
class CNameBuffer {
  public:
    CNameBuffer() = default;
    CNameBuffer(const CNameBuffer&) = delete;
    CNameBuffer& operator=(const CNameBuffer&) = delete;

    std::size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    std::string_view View(std::size_t from = 0) const {
        return {m_data.get() + from, m_size - from};
    }
    char& operator[](std::size_t at) { return m_data[at]; }

    void Clear() { m_size = 0; }
    // Drops everything from `size` on.
    void Truncate(std::size_t size) { m_size = size; }

    void Append(std::string_view piece) {
        if (m_capacity - m_size < piece.size()) Grow(piece.size());
        CopyBytes(m_data.get() + m_size, piece.data(), piece.size());
        m_size += piece.size();
    }
    // Room for `n` more bytes: where they go. Commit says where they end.
    char* Reserve(std::size_t n) {
        if (m_capacity - m_size < n) Grow(n);
        return m_data.get() + m_size;
    }
    // Makes the bytes written after Reserve part of the buffer, up to `end`.
    void Commit(const char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }
    // Where the reserved room ends.
    const char* Limit() const { return m_data.get() + m_capacity; }

    void Push(char c) {
        if (m_capacity == m_size) Grow(1);
        m_data[m_size++] = c;
    }

  private:
    // Copies within [source, source + n) and [target, target + n) only:
    // two overlapping loads and stores cover any length of a class.
    static void CopyBytes(char* target, const char* source, std::size_t n) {
        if (n >= 8 && n <= 16) {
            CopyWord<std::uint64_t>(target, source);
            CopyWord<std::uint64_t>(target + n - 8, source + n - 8);
        } else if (n >= 4 && n < 8) {
            CopyWord<std::uint32_t>(target, source);
            CopyWord<std::uint32_t>(target + n - 4, source + n - 4);
        } else if (n > 16) {
            std::memcpy(target, source, n);
        } else if (n > 0) {
            target[0] = source[0];
            target[n / 2] = source[n / 2];
            target[n - 1] = source[n - 1];
        }
    }
    template <typename Word>
    static void CopyWord(char* target, const char* source) {
        Word word;
        std::memcpy(&word, source, sizeof word);
        std::memcpy(target, &word, sizeof word);
    }

    void Grow(std::size_t more) {
        std::size_t capacity = m_capacity < 64 ? 64 : m_capacity * 2;
        while (capacity - m_size < more) capacity *= 2;
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_size > 0) std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};
