#include "text/CaseFolding.h"

#include <algorithm>
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

void FoldedReading(std::string_view bytes, std::u32string& characters) {
    // Most names are ASCII, where a byte is a character in either reading.
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (std::all_of(bytes.begin(), bytes.end(), isAscii)) {
        characters.resize(bytes.size());
        std::transform(bytes.begin(), bytes.end(), characters.begin(),
                       [](char c) { return FoldCase(static_cast<unsigned char>(c)); });
        return;
    }
    ReadAsShown(bytes, characters);
    std::transform(characters.begin(), characters.end(), characters.begin(), FoldCase);
}
