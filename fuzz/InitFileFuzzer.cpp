// The init file as the program meets it: the store names the data folder and
// the init file, and constructing a data object reads it. The settings must
// be exactly the key=value lines.

#include "FuzzMain.h"

void FuzzOne(std::string_view input) {
    std::map<std::string, std::string> expected{{"DataDir", FuzzDir() + "/"}};
    for (const std::string& line : ReferenceLines(input)) {
        const std::size_t equals = line.find('=');
        if (!IsComment(line) && equals != line.npos) {
            expected[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    SettingsMap.clear();
    UseFuzzSettings(input);
    const CConfigBase dataObject;
    FuzzCheck(SettingsMap == expected, "the settings differ from the init file's lines");
}
