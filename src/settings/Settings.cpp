#include "settings/Settings.h"

#include <string_view>

#include "settings/InitFile.h"
#include "settings/RegistryStore.h"

// SettingsMap must exist before theLanguageTable, whose construction reads the
// settings, whatever order the linker puts their files in; the priority makes
// that so (and destroys them in the reverse order).
CSettingsMap SettingsMap __attribute__((init_priority(1000)));
bool SettingsReloadPending = true;

namespace {

constexpr std::string_view kSeparator = "/";

}  // namespace

std::string ReadRegistryValue(const std::string& valueName) {
    return ReadStoreValue(CurrentRegistryStore(), valueName);
}

bool WriteRegistryValue(const std::string& valueName, const std::string& value) {
    if (!IsStorableValueName(valueName) || !IsStorableValue(value)) {
        return false;
    }
    CRegistryStore& store = CurrentRegistryStore();
    if (!store.OpenKey(CRegistryStore::Access::kReadWrite)) {
        return false;
    }
    const bool written = store.SetValue(valueName, value);
    store.CloseKey();
    if (!written) {
        return false;
    }
    SettingsReloadPending = true;
    return true;
}

void LoadSettings() {
    const std::string dataDir = ReadRegistryValue("DataDir") + std::string(kSeparator);
    SettingsMap["DataDir"] = dataDir;
    const std::string initPath = dataDir + ReadRegistryValue("InitFile");

    ReadInitFile(initPath, SettingsMap);
    // Cleared even when the init file could not be read: there is no new
    // attempt until the store changes.
    SettingsReloadPending = false;
}

namespace {

void BringSettingsUpToDate() {
    if (SettingsMap.empty() || SettingsReloadPending) {
        LoadSettings();
    }
}

}  // namespace

CConfigBase::CConfigBase() { BringSettingsUpToDate(); }

CConfigBase::CConfigBase(std::string newName) {
    BringSettingsUpToDate();
    name = std::move(newName);
}

CConfigBase::CConfigBase(const CConfigBase& other) : name(other.name) {}

CConfigBase::CConfigBase(CConfigBase&& other) noexcept : name(std::move(other.name)) {}

CConfigBase::~CConfigBase() = default;

void CConfigBase::SetName(std::string newName) { name = std::move(newName); }

std::string CConfigBase::GetName() const { return name; }
