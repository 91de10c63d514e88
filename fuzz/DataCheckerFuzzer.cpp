// veltrano-cli's data checker on an init, a language and a semantics file,
// as `veltrano-cli --init FILE --check` meets them; the input holds the three
// files split at "\n=====\n". The checker reports a finding of its own
// whenever its line checks and the loaders disagree: no input may provoke one.

#include "FuzzMain.h"
#include "checking/DataChecker.h"
#include "settings/SettingsSource.h"

void FuzzOne(std::string_view input) {
    // The init file starts by naming the other two, so that a mutation of
    // its part rarely loses them.
    std::string files[3] = {"languages=languages.txt\nsemantics=semantics.txt\n"};
    for (std::string& file : files) {
        const std::size_t end = &file == &files[2] ? input.npos : input.find("\n=====\n");
        file += input.substr(0, end);
        input.remove_prefix(end == input.npos ? input.size() : end + 7);
    }
    WriteFuzzFile("languages.txt", files[1]);
    WriteFuzzFile("semantics.txt", files[2]);

    CSettingsSource source;
    std::string error;
    InitFileSource(WriteFuzzFile("init.txt", files[0]), source, error);
    CDataChecker checker(source);
    checker.CheckEverything();
    for (const CCheckFinding& finding : checker.Findings()) {
        FuzzCheck(!finding.message.starts_with("Das Laden"),
                  "the checker and the loaders disagree about an error");
    }
}
