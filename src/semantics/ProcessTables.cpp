// The desktop program's process-wide tables: theLanguageTable, read once per
// process by the first pattern of the first semantics file, and the loads
// that go through it. Programs that open data sets instead, and the shared
// library above all, leave this file out: its table reads the user's
// settings while the program starts.

#include "language/LanguageTable.h"
#include "semantics/ListLookup.h"
#include "semantics/Semantics.h"

// Constructed right after SettingsMap (see Settings.cpp); being the first
// CConfigBase of the process, it reads the settings.
CLanguageTable theLanguageTable __attribute__((init_priority(1001)));

namespace {

void LoadTheLanguageTable() { theLanguageTable.Load(); }

}  // namespace

CNamePattern::CNamePattern(std::string label, std::string nameType,
                           const std::string& listNamesText, std::int32_t weight)
    : CConfigBase(std::move(label)), m_nameType(std::move(nameType)), m_weight(weight) {
    theLanguageTable.Load();
    CListLookup lists(theLanguageTable, nullptr);
    SetListNames(listNamesText, lists);
}

bool CSemantics::Load() {
    CListLookup lists(theLanguageTable, LoadTheLanguageTable);
    return Read(SettingsMap["DataDir"] + SettingsMap["semantics"], lists);
}
