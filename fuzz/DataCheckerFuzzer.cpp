// veltrano-cli's data checker on an init, a language and a semantics file at
// once, as `veltrano-cli --init FILE --check` meets them. The input holds the
// three files, split at kFileSeparator; the init file always starts by naming
// the other two, so that a mutation of the init part rarely loses them.
//
// Beyond not crashing, the checker must agree with the core: it reports a
// finding whenever its own line checks and the loaders disagree, and no input
// may provoke one.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "cli/CliSettings.h"
#include "cli/DataChecker.h"
#include "semantics/Semantics.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

constexpr std::string_view kFileSeparator = "\n=====\n";
// The checker's own words when its line checks and a loader disagree.
constexpr std::string_view kLoaderFindsMore =
    "Das Laden meldet einen Fehler, den die Prüfung nicht findet.";
constexpr std::string_view kLoaderFindsLess =
    "Das Laden übergeht einen Fehler, den die Prüfung findet.";
constexpr std::string_view kInitStart = "languages=languages.txt\nsemantics=semantics.txt\n";

std::vector<std::string_view> SplitFiles(std::string_view input) {
    std::vector<std::string_view> parts;
    while (parts.size() < 2) {
        const std::size_t at = input.find(kFileSeparator);
        if (at == std::string_view::npos) {
            break;
        }
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kFileSeparator.size());
    }
    parts.push_back(input);
    parts.resize(3);
    return parts;
}

std::size_t PhysicalLines(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

CMemoryRegistryStore& Store() {
    static CMemoryRegistryStore store;
    return store;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // theLanguageTable's construction read the settings already; from now on
    // they come from memory, as with --init.
    UseRegistryStore(&Store());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> files = SplitFiles(AsText(data, size));
    const std::string& dir = FuzzScratchDir();
    const std::string initText = std::string(kInitStart) + std::string(files[0]);
    WriteFuzzFile(dir + "/init.txt", initText);
    WriteFuzzFile(dir + "/languages.txt", files[1]);
    WriteFuzzFile(dir + "/semantics.txt", files[2]);

    CSettingsSource source;
    std::string error;
    FuzzCheck(UseInitFileSettings(dir + "/init.txt", Store(), source, error),
              "the init file was not taken");

    CDataChecker checker(source.display);
    checker.CheckFiles(source.initPath, source.initShown);
    if (checker.InitFileRead()) {
        CSemantics semantics;
        checker.CheckLoaded(semantics.Load());
        checker.CheckNames(semantics);
    }

    const std::string_view texts[] = {initText, files[1], files[2]};
    for (const CCheckFinding& finding : checker.Findings()) {
        FuzzCheck(finding.message != kLoaderFindsMore && finding.message != kLoaderFindsLess,
                  "the checker and the loaders disagree about an error");
        // A data file that another key names (DataDir, or a name changed by
        // the init part) may be longer than the input's part.
        if (SettingValue("languages") == "languages.txt" &&
            SettingValue("semantics") == "semantics.txt" && SettingValue("DataDir") == dir + "/") {
            FuzzCheck(finding.line <= PhysicalLines(texts[static_cast<std::size_t>(finding.file)]),
                      "a finding's line is past the end");
        }
    }
    return 0;
}
