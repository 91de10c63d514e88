#include "PythonText.h"

#include <veltrano/veltrano.hpp>

#include <new>

namespace py = pybind11;

namespace {

// The length of the valid UTF-8 sequence `bytes` starts with; 0 where it
// starts with none (a stray continuation byte, an overlong form, a
// surrogate, beyond U+10FFFF, or cut short).
std::size_t Utf8SequenceLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    // The smallest and largest second byte after each lead byte exclude the
    // overlong forms, the surrogates and everything above U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    const auto second = static_cast<unsigned char>(bytes[1]);
    if (second < low || second > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

}  // namespace

// shown() gives back nothing for bytes it had no memory to convert; pybind11
// turns the bad_alloc into Python's MemoryError.
std::string ShownUtf8(std::string_view bytes) {
    std::string text = veltrano::shown(bytes);
    if (text.empty() && !bytes.empty()) throw std::bad_alloc();
    return text;
}

py::str ShownText(std::string_view bytes) { return py::str(ShownUtf8(bytes)); }

std::string MessageUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length > 0) {
            text.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        } else {
            text += ShownUtf8(bytes.substr(0, 1));
            bytes.remove_prefix(1);
        }
    }
    return text;
}

py::str MessageText(std::string_view bytes) { return py::str(MessageUtf8(bytes)); }
