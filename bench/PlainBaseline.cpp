#include "PlainBaseline.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// The next line without its leading white space and its line end; false at
// the end of the file.
bool NextLine(std::FILE* file, char (&buffer)[1000], std::string_view& line) {
    for (;;) {
        if (std::fgets(buffer, sizeof buffer, file) == nullptr) {
            return false;
        }
        const char* begin = buffer;
        while (std::isspace(static_cast<unsigned char>(*begin))) {
            ++begin;
        }
        std::size_t length = std::strlen(begin);
        while (length > 0 && (begin[length - 1] == '\n' || begin[length - 1] == '\r')) {
            --length;
        }
        if (length > 0) {
            line = std::string_view(begin, length);
            return true;
        }
    }
}

bool IsComment(std::string_view line) {
    return line[0] == '#' || (line.size() > 1 && line[1] == '#');
}

}  // namespace

void PlainLoadLanguage(const std::string& path, CPlainLists& lists) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        return;
    }
    char buffer[1000];
    std::string_view line;
    std::vector<std::string>* current = nullptr;
    while (NextLine(file, buffer, line)) {
        if (IsComment(line)) {
            continue;
        }
        if (line[0] == '[') {
            current = &lists[std::string(line.substr(1, line.size() - 2))];
            current->clear();
        } else if (current != nullptr) {
            current->emplace_back(line[0] == '$' ? line.substr(1) : line);
        }
    }
    std::fclose(file);
}

void PlainLoadSemantics(const std::string& path, CPlainCultures& cultures) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        return;
    }
    char buffer[1000];
    std::string_view line;
    std::string section;
    while (NextLine(file, buffer, line)) {
        if (IsComment(line)) {
            continue;
        }
        if (line[0] == '[') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        const std::size_t third = line.find(':', second + 1);
        if (third == std::string_view::npos) {
            break;
        }
        CPlainPattern pattern;
        int weight = std::atoi(std::string(line.substr(first + 1, second - first - 1)).c_str());
        pattern.weight = static_cast<std::uint32_t>(weight == 0 ? 10 : weight);
        std::string_view names = line.substr(third + 1);
        for (;;) {
            const std::size_t comma = names.find(',');
            pattern.lists.emplace_back(names.substr(0, comma));
            if (comma == std::string_view::npos) {
                break;
            }
            names.remove_prefix(comma + 1);
        }
        CPlainNameType& nameType =
            cultures[section][std::string(line.substr(second + 1, third - second - 1))];
        nameType.total += pattern.weight;
        nameType.patterns.push_back(std::move(pattern));
    }
    std::fclose(file);
}

std::string PlainGenerate(const CPlainCultures& cultures, const CPlainLists& lists,
                          const std::string& culture, const std::string& nameType) {
    const auto c = cultures.find(culture);
    if (c == cultures.end()) {
        return {};
    }
    const auto t = c->second.find(nameType);
    if (t == c->second.end()) {
        return {};
    }
    const std::uint32_t draw = 1 + static_cast<std::uint32_t>(std::rand()) % t->second.total;
    std::uint32_t sum = 0;
    for (const CPlainPattern& pattern : t->second.patterns) {
        sum += pattern.weight;
        if (sum < draw) {
            continue;
        }
        std::string word;
        for (const std::string& element : pattern.lists) {
            const bool capital = !element.empty() && element[0] == '^';
            const auto list = lists.find(capital ? element.substr(1) : element);
            if (list == lists.end() || list->second.empty()) {
                continue;
            }
            std::string piece =
                list->second[static_cast<std::uint32_t>(std::rand()) % list->second.size()];
            if (capital && !piece.empty()) {
                piece[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(piece[0])));
            }
            word += piece;
        }
        return word;
    }
    return {};
}
