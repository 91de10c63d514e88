#pragma once

#include <string>
#include <vector>

#include "settings/SettingsSource.h"

// Learning a name type from a file of example names into the data that an
// init file names, as veltrano-cli --learn does.
struct CLearnRequest {
    std::string examplesPath;  // as given; its file name goes into the comments
    std::string culture;
    std::string nameType;
    // The init file that names the data, as InitPathSource or
    // UserSettingsSource give it. Where it does not exist, a new data set is
    // made around it: the init file, "sprachen.txt" and "semantik.txt".
    CSettingsSource source;
    // Folders whose data is never changed, such as the sample data that
    // comes with the program; compared by their real paths.
    std::vector<std::string> protectedFolders;
};

struct CLearnOutcome {
    enum class Status {
        kLearned,
        kRefused,
        // The data lies in one of the protected folders.
        kProtected,
    };
    Status status = Status::kRefused;
    // German. Learned: one line that says what was added where. Otherwise
    // the reasons, one a line; errors in the data as "FILE:LINE: text".
    std::vector<std::string> messages;
};

// Learns the examples and adds the lists to the language file and the name
// type to the semantics file, in UTF-8 with each file's own line end; every
// byte the files held stays as it was. Both files are written whole before
// either takes its new place, each in one step, so that a refusal or a
// failure before that leaves both as they were. Refused: names the
// semantics file cannot hold, examples that cannot be learned, data with
// errors (warnings do not count), a culture that has the name type already,
// data in a protected folder, files or folders that cannot be written, and,
// for a new data set, a "sprachen.txt" or "semantik.txt" already in its
// folder, which a new one would replace.
CLearnOutcome LearnIntoDataSet(const CLearnRequest& request);
