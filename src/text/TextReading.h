#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Names are bytes. The desktop program shows them as UTF-8 where they are
// valid UTF-8 and as Windows-1252 otherwise; these give that same reading.

// Calls take(c) with each character of `bytes` read as UTF-8, in order; false
// at the first byte that is not valid UTF-8. Inline, as the filters read
// every drawn name through it.
template <typename Take>
bool ForEachUtf8Character(std::string_view bytes, Take take) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            take(char32_t{lead});
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        char32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are not UTF-8.
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        take(code);
        i += length;
    }
    return true;
}

// Decodes `bytes` as UTF-8, appending each character to `characters` where
// it is given; false at the first byte that is not valid UTF-8.
bool DecodeUtf8(std::string_view bytes, std::u32string* characters);

inline bool IsValidUtf8(std::string_view bytes) { return DecodeUtf8(bytes, nullptr); }

// One Windows-1252 byte as a character. The five bytes the code page leaves
// undefined keep their C1 control code, as the desktop program shows them.
char32_t Windows1252Character(unsigned char byte);

// The characters a person sees for `bytes`, in place of what `characters`
// held.
void ReadAsShown(std::string_view bytes, std::u32string& characters);

// Windows-1252 bytes as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);
