#pragma once

#include <map>
#include <string>
#include <string_view>

// Splits one init-file line at its first '=' into key and value, nothing
// trimmed. False for a comment and for a line without '='.
bool ParseInitLine(std::string_view line, std::string_view& key, std::string_view& value);

// Reads the init file at `path` into `settings`: each entry replaces what the
// key held before. A file that cannot be opened adds nothing.
void ReadInitFile(const std::string& path, std::map<std::string, std::string>& settings);
