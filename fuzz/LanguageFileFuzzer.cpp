// The language file through CLanguageTable::Read, into a table of its own
// (theLanguageTable reads once per process), against the file's rules.

#include "FuzzMain.h"
#include "language/LanguageTable.h"

void FuzzOne(std::string_view input) {
    // Nearly a megabyte of blanks before the first line moves the lines
    // across the place where the reader refills its 1 MiB buffer, another
    // place for each input length: small files never get there.
    std::string file(input);
    file.insert(input.size() - FormatBody(input).size(), (1U << 20) - input.size() % 2048, ' ');
    CLanguageTable table;
    const bool read = table.Read(WriteFuzzFile("languages.txt", file));

    std::map<std::string, std::vector<std::string>> expected;
    std::vector<std::string>* section = nullptr;
    for (const std::string& line : ReferenceLines(input)) {
        if (IsComment(line)) continue;
        if (line[0] == '[') {
            // A name that comes again starts its list afresh.
            section = &expected[HeaderName(line)];
            section->clear();
        } else if (section == nullptr) {
            FuzzCheck(!read && table.m_lists.empty(), "a fragment before any header was taken");
            return;
        } else {
            section->push_back(line[0] == '$' ? line.substr(1) : line);
        }
    }
    std::map<std::string, std::vector<std::string>> actual;
    for (const auto& [name, list] : table.m_lists) actual[name] = list.m_fragments;
    FuzzCheck(read && actual == expected, "the lists differ from the sections");
}
