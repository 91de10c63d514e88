#pragma once

#include <string>
#include <string_view>

// A name, a value or a path in German quotation marks, as every message of
// veltrano-cli shows them.
inline std::string Quoted(std::string_view text) { return "„" + std::string(text) + "“"; }
