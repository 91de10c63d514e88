#pragma once

#include <string>

#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

// Settings that name a data folder and an init file through an in-memory
// store, so that no test reads the user's store; the next data object
// constructed reads them.
class CPointedSettings {
  public:
    explicit CPointedSettings(const std::string& dataDir,
                              const std::string& initFile = "init.txt") {
        m_store.OpenKey(CRegistryStore::Access::kReadWrite);
        m_store.SetValue("DataDir", dataDir);
        m_store.SetValue("InitFile", initFile);
        m_store.CloseKey();
        UseRegistryStore(&m_store);
        SettingsReloadPending = true;
    }
    CPointedSettings(const CPointedSettings&) = delete;
    CPointedSettings& operator=(const CPointedSettings&) = delete;
    ~CPointedSettings() { UseRegistryStore(nullptr); }

  private:
    CMemoryRegistryStore m_store;
};
