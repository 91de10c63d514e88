// The language file through CLanguageTable::Read, into a table of its own
// (theLanguageTable reads once per process), against the file's rules.

#include "FuzzMain.h"
#include "language/LanguageTable.h"

void FuzzOne(std::string_view input) {
    // One input in four comes after a comment line of nearly a megabyte, so
    // that its lines cross the place where the reader refills its 1 MiB
    // buffer, another place for each input length: small files never get
    // there. The others keep the fuzzing fast.
    const std::size_t comment = input.size() % 4 == 0 ? (1U << 20) - input.size() % 2048 : 0;
    std::string file(input);
    file.insert(input.size() - FormatBody(input).size(), std::string(comment, '#') + "\n");
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
