#include "text/CaseFolding.h"

#include <array>
#include <cstdint>

#include "text/TextReading.h"

namespace {

#include "text/CaseFoldingTable.inc"

}  // namespace

char32_t FoldBeyondAscii(char32_t c) {
    if (c >= kFoldingEnd) return c;
    const unsigned block = kFoldingBlocks[c >> kFoldingBlockBits];
    const char32_t within = c & ((char32_t{1} << kFoldingBlockBits) - 1);
    const unsigned index = kFoldingDeltaIndexes[(block << kFoldingBlockBits) + within];
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + kFoldingDeltas[index]);
}

namespace {

// Decodes `bytes` as UTF-8 and folds each character, straight into place;
// false at the first byte that is not UTF-8. The same rules as DecodeUtf8, in
// one pass: decoding first and folding after took twice as long, on the path
// every drawn name takes when a filter or an avoid list asks for it.
bool FoldUtf8(std::string_view bytes, std::u32string& characters) {
    characters.resize(bytes.size());  // never more characters than bytes
    std::size_t count = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            characters[count++] = FoldCase(lead);
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
        characters[count++] = FoldBeyondAscii(code);
        i += length;
    }
    if (count != characters.size()) characters.resize(count);
    return true;
}

}  // namespace

void FoldedReading(std::string_view bytes, std::u32string& characters) {
    if (FoldUtf8(bytes, characters)) return;
    characters.clear();
    for (const char c : bytes) {
        characters += FoldCase(Windows1252Character(static_cast<unsigned char>(c)));
    }
}
