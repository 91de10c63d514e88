#pragma once

#include <string>

#include "settings/Settings.h"

// Shows the paths of data files the way the user named their folder: with
// --init data/init.txt the data directory is held as an absolute path, but
// the language file is shown as data/languages.txt.
class CPathDisplay {
  public:
    CPathDisplay() = default;
    // `absoluteDir` and `shownDir` without trailing "/"; `shownDir` may be
    // empty for the current folder.
    CPathDisplay(std::string absoluteDir, std::string shownDir);

    std::string Show(const std::string& path) const;

  private:
    std::string m_absolutePrefix;  // empty: show paths unchanged
    std::string m_shownPrefix;
};

// Where a data set's settings come from: the values DataDir and InitFile
// that the store holds, or that an init file given by path stands for, and
// how to show the paths of the data files to the user.
struct CSettingsSource {
    std::string dataDir;  // as the store holds it: without the trailing "/"
    std::string initPath;
    std::string initShown;
    CPathDisplay display;
};

// The init file at `path` as the source of the settings, the user's store
// neither read nor written: its folder, made absolute, is the data folder.
// False, with a German message, when the file cannot be read or its path
// cannot be held as a setting.
bool InitFileSource(const std::string& path, CSettingsSource& source, std::string& error);
// The same for an init file that need not exist yet, such as one about to
// be made; the file is not opened.
bool InitPathSource(const std::string& path, CSettingsSource& source, std::string& error);

// The init file named by the user's store, as the desktop program finds it.
// Where there is no store yet, creates it pointing at the sample data in
// `bundledDataDir`, as the desktop program's first start does, unless that
// folder does not exist. False, with a German message, when the store is
// missing and cannot be made, or one of its values is missing.
bool UserSettingsSource(const std::string& bundledDataDir, CSettingsSource& source,
                        std::string& error);

// The sample data that is installed at `fromBinary` relative to the folder
// of the program or library at `binaryPath`; empty when that is not known.
std::string BundledDataDir(const std::string& binaryPath, const std::string& fromBinary);

// The value of a settings key, empty when absent.
std::string SettingValue(const CSettingsMap& settings, const std::string& key);

// The path of the data file a settings key names: DataDir, then the value.
std::string DataFilePath(const CSettingsMap& settings, const std::string& key);
