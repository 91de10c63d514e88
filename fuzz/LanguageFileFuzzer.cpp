// The language file through CLanguageTable::Read, into a table of its own
// (theLanguageTable reads once per process), compared with the format's rules
// written out plainly; then a word from every list.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "language/LanguageTable.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"

namespace {

struct CExpectedTable {
    bool result = true;
    std::map<std::string, std::vector<std::string>> lists;
};

CExpectedTable ExpectedTable(std::string_view input) {
    CExpectedTable expected;
    bool inSection = false;
    std::string currentName;
    std::vector<std::string> current;
    for (const CReferenceLine& line : ReferenceLines(input)) {
        const std::string& text = line.text;
        if (ReferenceIsComment(text)) {
            continue;
        }
        if (text[0] == '[') {
            if (inSection) {
                expected.lists[currentName] = current;
            }
            currentName = text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
            current.clear();
            inSection = true;
            continue;
        }
        if (!inSection) {
            expected.result = false;
            expected.lists.clear();
            return expected;
        }
        current.push_back(text[0] == '$' ? text.substr(1) : text);
    }
    if (inSection) {
        expected.lists[currentName] = current;
    }
    return expected;
}

bool IsPossibleWord(const std::string& word, const std::vector<std::string>& fragments,
                    bool capital) {
    if (fragments.empty()) {
        return word.empty();
    }
    for (std::string fragment : fragments) {
        if (capital && !fragment.empty()) {
            fragment[0] = UpperCaseAscii(fragment[0]);
        }
        if (fragment == word) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // The table's construction reads the settings: from memory, never from
    // the user's store.
    static CMemoryRegistryStore store(false);
    UseRegistryStore(&store);
    SettingsReloadPending = true;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = AsText(data, size);
    const std::string path = FuzzScratchDir() + "/languages.txt";
    WriteFuzzFile(path, input);

    CLanguageTable table;
    const bool result = table.Read(path);
    const CExpectedTable expected = ExpectedTable(input);
    FuzzCheck(result == expected.result, "Read's result differs from the file's rule");
    // After a fragment before the first header, nothing is stored at all.
    FuzzCheck(table.m_lists.size() == expected.lists.size(), "the number of lists differs");
    for (const auto& [listName, fragments] : expected.lists) {
        const CFragmentList* list = table.Find(listName);
        FuzzCheck(list != nullptr, "a list of the file is missing");
        FuzzCheck(list->GetName() == listName, "a list is stored under another name");
        FuzzCheck(list->m_fragments == fragments, "a list's fragments differ");

        const bool capital = !listName.empty() && listName[0] == '^';
        FuzzCheck(IsPossibleWord(table.MakeWord({listName}), fragments, false) || capital,
                  "a word is no fragment of its list");
        FuzzCheck(IsPossibleWord(table.MakeWord({"^" + listName}), fragments, true),
                  "a capitalised word is no fragment of its list");
    }
    FuzzCheck(table.MakeWord({}).empty(), "the empty pattern gave a word");
    return 0;
}
