#include "NameCollector.h"

#include <veltrano/veltrano.hpp>

#include <algorithm>
#include <new>

namespace py = pybind11;

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

bool CNameCollector::Take(std::string_view name) noexcept {
    try {
        if (m_chunks.empty() || m_chunks.back().bytes.size() >= kChunkBytes)
            m_chunks.emplace_back();
        Chunk& chunk = m_chunks.back();
        // ASCII reads the same in every way; only other names need the table.
        if (m_raw || IsAscii(name)) {
            chunk.bytes.append(name);
        } else {
            const std::string shown = veltrano::shown(name);
            // shown() gives back nothing where it had no memory.
            if (shown.empty()) {
                m_outOfMemory = true;
                return false;
            }
            chunk.bytes += shown;
        }
        chunk.ends.push_back(chunk.bytes.size());
        ++m_count;
        return true;
    } catch (const std::bad_alloc&) {
        m_outOfMemory = true;
        return false;
    }
}

py::list CNameCollector::TakeList() {
    py::list list(static_cast<py::ssize_t>(m_count));
    py::ssize_t index = 0;
    for (Chunk& chunk : m_chunks) {
        std::size_t begin = 0;
        for (const std::size_t end : chunk.ends) {
            const char* text = chunk.bytes.data() + begin;
            const auto length = static_cast<py::ssize_t>(end - begin);
            // Every kept text is valid UTF-8: ASCII, or what shown() made.
            PyObject* item = m_raw ? PyBytes_FromStringAndSize(text, length)
                                   : PyUnicode_DecodeUTF8(text, length, nullptr);
            if (item == nullptr) throw py::error_already_set();
            PyList_SET_ITEM(list.ptr(), index++, item);
            begin = end;
        }
        chunk = Chunk();
    }
    m_chunks.clear();
    m_count = 0;
    return list;
}
