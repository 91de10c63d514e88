// The semantics file through CSemantics::Load against the file's rules, then
// a name of every name type. The language file is a fixed small one, as
// theLanguageTable reads once per process.

#include "FuzzMain.h"
#include "semantics/Semantics.h"

void FuzzOne(std::string_view input) {
    // An empty list, the empty name, and a fragment that "^" changes.
    WriteFuzzFile("languages.txt", "[a]\nan\n$\n[]\nx\n[none]\n[c]\n\xe4rm\n");
    WriteFuzzFile("semantics.txt", input);
    UseFuzzSettings("languages=languages.txt\nsemantics=semantics.txt\n");
    CSemantics semantics;
    const bool loaded = semantics.Load();
    // No line of a file holds an LF, so no file defines this culture.
    FuzzCheck(semantics.GetNameTypeNames("\n").empty() && semantics.Generate("\n", "").empty(),
              "a culture no file defines has name types");

    // By "culture\nname type", each pattern as "label:weight" and a comma
    // before each list name.
    std::map<std::string, std::vector<std::string>> expected;
    std::string section;
    bool valid = true;
    for (const std::string& line : ReferenceLines(input)) {
        if (!IsComment(line) && line[0] == '[') section = HeaderName(line);
        if (IsComment(line) || line[0] == '[') continue;
        const std::size_t weight = line.find(':');
        const std::size_t type = line.find(':', weight + 1);
        const std::size_t lists = line.find(':', type + 1);
        // The patterns before a bad line stay.
        valid = !section.empty() && type != line.npos && lists != line.npos;
        if (!valid) break;
        // atoi's reading, kept within 32 bits; 0 stands for 10.
        const long long read = std::clamp<long long>(
            std::strtoll(line.substr(weight + 1).c_str(), nullptr, 10), INT32_MIN, INT32_MAX);
        expected[section + "\n" + line.substr(type + 1, lists - type - 1)].push_back(
            line.substr(0, weight) + ":" + std::to_string(read == 0 ? 10 : read) + "," +
            line.substr(lists + 1));
    }
    decltype(expected) actual;
    for (const auto& [cultureName, culture] : semantics.m_cultures) {
        for (const auto& [typeName, nameType] : culture.m_nameTypes) {
            for (const CNamePattern& pattern : nameType.m_patterns) {
                std::string& text =
                    actual[std::string(cultureName).append("\n").append(typeName)].emplace_back(
                        pattern.GetName() + ":" + std::to_string(pattern.GetWeight()));
                for (const std::string& list : pattern.m_listNames) text.append(",").append(list);
            }
            semantics.Generate(cultureName, typeName);
        }
    }
    FuzzCheck(loaded == valid && actual == expected, "the tables differ from the file's lines");
}
