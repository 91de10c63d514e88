#pragma once

#include <string>
#include <string_view>

// Bytes from data files as a message shows them: control bytes written as
// escapes (\r, \t, \x1b), so that a CR in a value cannot overwrite the
// FILE:LINE before it on a terminal, nor an ESC restyle it.
std::string Escaped(std::string_view text);

// A name, a value or a path in German quotation marks, as every message of
// veltrano-cli shows them.
inline std::string Quoted(std::string_view text) { return "„" + Escaped(text) + "“"; }
