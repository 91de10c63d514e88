#pragma once

#include <string_view>

// Splits one init-file line at its first '=' into key and value, nothing
// trimmed. False for a comment and for a line without '='.
bool ParseInitLine(std::string_view line, std::string_view& key, std::string_view& value);
