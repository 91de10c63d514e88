#pragma once

#include <QString>
#include <string_view>

// The core hands out bytes. They are shown as UTF-8 when they are valid UTF-8,
// otherwise as Windows-1252, the code page the data files were first written
// in. This is the only place where bytes become text; nothing is ever turned
// back into bytes from the text it returns.
QString BytesToDisplay(std::string_view bytes);

// True, with the decoded text in `text`, when `bytes` are valid UTF-8.
bool DecodeUtf8(std::string_view bytes, QString& text);

// Every byte as its Windows-1252 character. Each byte stands alone, so the
// text of two pieces of bytes is the text of the first followed by that of
// the second.
QString FromWindows1252(std::string_view bytes);
