#pragma once

// Helpers shared by the core tests: a data folder of their own and settings
// that point at it through an in-memory store, so that no test depends on
// the working directory or on the user's real store.

#include <string>
#include <string_view>

#include "ScratchFolder.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

// Settings read from a scratch data folder through an in-memory store. While
// it lives, ReadRegistryValue and WriteRegistryValue use its store.
class CScratchSettings {
  public:
    CScratchSettings() { UseRegistryStore(&m_store); }
    CScratchSettings(const CScratchSettings&) = delete;
    CScratchSettings& operator=(const CScratchSettings&) = delete;
    ~CScratchSettings() { UseRegistryStore(nullptr); }

    // Writes the init file and points the store at it, as the choose-init-file
    // command does; the next CConfigBase constructed reads it.
    bool UseInitFile(std::string_view initText, const std::string& initName = "init.txt") {
        m_dir.Write(initName, initText);
        return PointAt(m_dir.Path(), initName);
    }

    bool PointAt(const std::string& dataDir, const std::string& initName) {
        return WriteRegistryValue("InitFile", initName) && WriteRegistryValue("DataDir", dataDir);
    }

    CScratchFolder& Dir() { return m_dir; }
    CMemoryRegistryStore& Store() { return m_store; }

  private:
    CMemoryRegistryStore m_store;
    CScratchFolder m_dir;
};

// The value of a settings entry, or "<absent>", without adding the key as
// SettingsMap's operator[] would.
inline std::string SettingOrAbsent(const std::string& key) {
    const auto it = SettingsMap.find(key);
    return it == SettingsMap.end() ? std::string("<absent>") : it->second;
}
