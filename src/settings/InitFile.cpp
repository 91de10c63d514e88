#include "settings/InitFile.h"

#include "settings/LineReader.h"

bool ParseInitLine(std::string_view line, std::string_view& key, std::string_view& value) {
    if (line.empty() || IsCommentLine(line)) {
        return false;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    key = line.substr(0, equals);
    value = line.substr(equals + 1);
    return true;
}

void ReadInitFile(const std::string& path, std::map<std::string, std::string>& settings) {
    CLineReader reader;
    if (!reader.Open(path)) {
        return;
    }
    std::string_view line;
    std::string_view key;
    std::string_view value;
    while (reader.Next(line)) {
        if (ParseInitLine(line, key, value)) {
            settings[std::string(key)] = value;
        }
    }
}
