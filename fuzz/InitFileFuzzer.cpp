// The init file through LoadSettings, as the program meets it: the store names
// a data folder and an init file, and a CConfigBase construction reads it.
// The settings must come out exactly as the line rule and the key=value rule
// say, whatever the bytes.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "FuzzSupport.h"
#include "language/LanguageTable.h"
#include "settings/LineReader.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

CMemoryRegistryStore& Store() {
    static CMemoryRegistryStore store;
    return store;
}

std::string InitPath() { return FuzzScratchDir() + "/init.txt"; }

std::map<std::string, std::string> ExpectedSettings(std::string_view input) {
    std::map<std::string, std::string> expected{{"DataDir", FuzzScratchDir() + "/"}};
    for (const CReferenceLine& line : ReferenceLines(input)) {
        const std::size_t equals = line.text.find('=');
        if (ReferenceIsComment(line.text) || equals == std::string::npos) {
            continue;
        }
        expected[line.text.substr(0, equals)] = line.text.substr(equals + 1);
    }
    return expected;
}

// The reader on the file, and on the same bytes in memory, against the plain
// rule: their buffering must never show in the lines.
void CheckLineReader(std::string_view input) {
    const std::vector<CReferenceLine> expected = ReferenceLines(input);
    for (const bool fromFile : {true, false}) {
        CLineReader reader;
        if (fromFile) {
            FuzzCheck(reader.Open(InitPath()), "the init file could not be opened");
        } else {
            reader.OpenText(input);
        }
        std::vector<CReferenceLine> lines;
        std::string_view line;
        while (reader.Next(line)) {
            FuzzCheck(line.size() <= CLineReader::kMaxLineLength, "a line is over the limit");
            lines.push_back({std::string(line), reader.WasCut()});
        }
        FuzzCheck(!reader.Failed(), "reading the init file failed");
        FuzzCheck(lines == expected, fromFile ? "the lines read from the file differ"
                                              : "the lines read from memory differ");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    Store().OpenKey(CRegistryStore::Access::kReadWrite);
    Store().SetValue("DataDir", FuzzScratchDir());
    Store().SetValue("InitFile", "init.txt");
    Store().CloseKey();
    UseRegistryStore(&Store());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = AsText(data, size);
    WriteFuzzFile(InitPath(), input);
    CheckLineReader(input);

    const std::map<std::string, std::string> expected = ExpectedSettings(input);

    // A fresh start, as at program start: the first data object reads it all.
    SettingsMap.clear();
    SettingsReloadPending = true;
    const CFragmentList first("first");
    FuzzCheck(!SettingsReloadPending, "the settings are still marked for re-reading");
    FuzzCheck(SettingsMap == expected, "the settings differ from the init file's lines");

    // A second object without a write in between must not read again; a
    // re-read after a write keeps every entry and gives the same values.
    WriteFuzzFile(InitPath(), "");
    const CFragmentList second("second");
    FuzzCheck(SettingsMap == expected, "a second data object re-read the init file");

    WriteFuzzFile(InitPath(), input);
    SettingsMap["zz-earlier"] = "kept";
    SettingsReloadPending = true;
    LoadSettings();
    std::map<std::string, std::string> withEarlier = expected;
    withEarlier.emplace("zz-earlier", "kept");
    FuzzCheck(SettingsMap == withEarlier, "a re-read lost or changed an entry");
    return 0;
}
