#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The plain way to read the two data files and to make a name, written only
// to measure the core against: fgets into a line buffer, one std::map per
// level, every list looked up by its name for every name. It follows the file
// rules only as far as the benchmark data needs them (no cut at 999 bytes, no
// NUL bytes, no error results).

using CPlainLists = std::map<std::string, std::vector<std::string>>;

struct CPlainPattern {
    std::uint32_t weight = 0;
    std::vector<std::string> lists;
};

struct CPlainNameType {
    std::uint32_t total = 0;
    std::vector<CPlainPattern> patterns;
};

using CPlainCultures = std::map<std::string, std::map<std::string, CPlainNameType>>;

void PlainLoadLanguage(const std::string& path, CPlainLists& lists);
void PlainLoadSemantics(const std::string& path, CPlainCultures& cultures);
std::string PlainGenerate(const CPlainCultures& cultures, const CPlainLists& lists,
                          const std::string& culture, const std::string& nameType);
