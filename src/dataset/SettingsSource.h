#pragma once

#include <string>

class CMemoryRegistryStore;

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

// Where the settings come from and how to show their paths.
struct CSettingsSource {
    std::string initPath;
    std::string initShown;
    CPathDisplay display;
};

// Makes the init file at `path` the source of the settings, bypassing the
// user's store, which is then neither read nor written: `store` becomes the
// current store, holding the file's folder (absolute) and name, and
// SettingsMap is read afresh from the file. False, with a German message,
// when the file cannot be read or its path cannot be held as a setting.
bool UseInitFileSettings(const std::string& path, CMemoryRegistryStore& store,
                         CSettingsSource& source, std::string& error);

// The init file named by the user's store, as the desktop program finds it.
// Where there is no store yet, creates it pointing at the bundled sample data,
// as the desktop program's first start does. False, with a German message,
// when the store is missing and cannot be made, or one of its values is
// missing.
bool StoreSettingsSource(CSettingsSource& source, std::string& error);

// The value of a settings key, empty when absent, without adding the key.
std::string SettingValue(const std::string& key);

// The path of the data file a settings key names: DataDir, then the value.
std::string DataFilePath(const std::string& key);
