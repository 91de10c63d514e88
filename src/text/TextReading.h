#pragma once

#include <string>
#include <string_view>

// Names are bytes. The desktop program shows them as UTF-8 where they are
// valid UTF-8 and as Windows-1252 otherwise; these give that same reading.

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
