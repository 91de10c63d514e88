#pragma once

#include <string>
#include <string_view>

// Names are bytes. The desktop program shows them as UTF-8 where they are
// valid UTF-8 and as Windows-1252 otherwise; these give that same reading.

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// keep their C1 control code, as the desktop program shows them.
std::string Windows1252ToUtf8(std::string_view bytes);

// The text a person sees for `bytes`, as UTF-8.
std::string DisplayReading(std::string_view bytes);
