#pragma once

#include <pybind11/pybind11.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Keeps the names of a run while the GIL is released, compactly, as the list
// will hold them (the bytes, or the text as shown), and makes the Python list
// once the GIL is back.
class CNameCollector {
  public:
    // What each kept name costs besides its bytes, at the most: its str
    // object's header (72 bytes for text beyond ASCII, 48 for ASCII, 33 for
    // bytes), its closing NUL and Python's rounding to 16 bytes, its list
    // slot, and its end offset here. The library refuses a count whose names
    // would not fit before drawing the first.
    static constexpr std::size_t kKeptBytesPerName = 72 + 16 + 8 + sizeof(std::size_t);

    explicit CNameCollector(bool raw) : m_raw(raw) {}

    // The run's sink: keeps `name`. False once memory ran out; the run then
    // stops.
    bool Take(std::string_view name) noexcept;
    bool RanOutOfMemory() const { return m_outOfMemory; }
    std::uint64_t Count() const { return m_count; }

    // The names kept so far, as a list of str (bytes when raw). Needs the
    // GIL. Each chunk's memory goes back as soon as its names are objects,
    // so that a large run does not hold every name twice.
    pybind11::list TakeList();

  private:
    // Names end to end, and where each ends.
    struct Chunk {
        std::string bytes;
        std::vector<std::size_t> ends;
    };
    // A chunk grows to about this size before the next one starts.
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

    std::vector<Chunk> m_chunks;
    std::uint64_t m_count = 0;
    bool m_raw;
    bool m_outOfMemory = false;
};
