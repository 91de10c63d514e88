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
// false at the first byte that is not UTF-8. Decoding first and folding
// after took twice as long, on the path every drawn name takes when a filter
// or an avoid list asks for it.
bool FoldUtf8(std::string_view bytes, std::u32string& characters) {
    characters.resize(bytes.size());  // never more characters than bytes
    std::size_t count = 0;
    if (!ForEachUtf8Character(bytes,
                              [&](char32_t code) { characters[count++] = FoldCase(code); })) {
        return false;
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
