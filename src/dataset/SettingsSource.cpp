#include "dataset/SettingsSource.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "settings/FileRegistryStore.h"
#include "settings/LineReader.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"
#include "text/Quoted.h"
#include "text/SystemError.h"

namespace {

std::string WithoutTrailingSlashes(std::string dir) {
    while (!dir.empty() && dir.back() == '/') dir.pop_back();
    return dir;
}

// The sample data installed with the program lies at the same place relative
// to the executable in the build tree and in every installation.
std::string BundledDataDir() {
    std::error_code failure;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", failure);
    if (failure) return {};
    const std::filesystem::path dir =
        (exe.parent_path() / VELTRANO_DATA_DIR_FROM_BIN).lexically_normal();
    return WithoutTrailingSlashes(dir.string());
}

// A user who tries the command-line tool before the desktop program gets the
// store the desktop program would have made, never one in place of theirs.
// True when there is a store now.
bool CreateStoreOnFirstRun() {
    const std::string dataDir = BundledDataDir();
    if (dataDir.empty()) return false;
    CFileRegistryStore store;
    // A store that another process made in the meantime serves as well.
    if (store.CreateForSampleData(dataDir) == CFileRegistryStore::Creation::kFailed) {
        return false;
    }
    // The settings were read before main() from a store that did not exist.
    SettingsMap.clear();
    SettingsReloadPending = true;
    LoadSettings();
    return true;
}

}  // namespace

CPathDisplay::CPathDisplay(std::string absoluteDir, std::string shownDir)
    : m_absolutePrefix(std::move(absoluteDir) + "/"),
      m_shownPrefix(shownDir.empty() ? std::string() : std::move(shownDir) + "/") {}

std::string CPathDisplay::Show(const std::string& path) const {
    if (m_absolutePrefix.empty() || !path.starts_with(m_absolutePrefix)) return path;
    return m_shownPrefix + path.substr(m_absolutePrefix.size());
}

bool UseInitFileSettings(const std::string& path, CMemoryRegistryStore& store,
                         CSettingsSource& source, std::string& error) {
    {
        CLineReader probe;
        if (!probe.Open(path)) {
            error = "Die Init-Datei " + Quoted(path) + " fehlt oder ist nicht lesbar.";
            return false;
        }
    }
    const std::filesystem::path given(path);
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(given, failure);
    if (failure) {
        error = "Der Pfad " + Quoted(path) +
                " lässt sich nicht auflösen: " + SystemErrorText(failure.value()) + ".";
        return false;
    }
    // The root folder becomes the empty string: the settings add the "/".
    const std::string dataDir = WithoutTrailingSlashes(absolute.parent_path().string());
    const std::string fileName = absolute.filename().string();

    UseRegistryStore(&store);
    if (!WriteRegistryValue("DataDir", dataDir) || !WriteRegistryValue("InitFile", fileName)) {
        error = "Der Pfad " + Quoted(path) +
                " lässt sich nicht als Einstellung halten (länger als " +
                std::to_string(kMaxRegistryValueLength) + " Bytes oder mit Zeilenumbruch).";
        return false;
    }
    // theLanguageTable's construction before main() has already read the
    // user's usual init file, and a re-read only adds and overwrites: without
    // emptying the map, a key that this init file leaves out would keep the
    // value of the user's file.
    SettingsMap.clear();
    SettingsReloadPending = true;
    LoadSettings();

    source.initPath = dataDir + "/" + fileName;
    source.initShown = path;
    // An absolute path is shown as it is; a relative one keeps the folder
    // the user wrote.
    if (!given.is_absolute()) {
        source.display =
            CPathDisplay(dataDir, WithoutTrailingSlashes(given.parent_path().string()));
    }
    return true;
}

bool StoreSettingsSource(CSettingsSource& source, std::string& error) {
    std::string dataDir = ReadRegistryValue("DataDir");
    if (dataDir == kErrorNoKey && CreateStoreOnFirstRun()) dataDir = ReadRegistryValue("DataDir");
    const std::string initFile = ReadRegistryValue("InitFile");
    if (dataDir == kErrorNoKey) {
        const std::string storePath = CFileRegistryStore::DefaultPath();
        error = storePath.empty()
                    ? "Keine gespeicherten Einstellungen: weder XDG_CONFIG_HOME noch HOME ist "
                      "gesetzt."
                    : "Keine gespeicherten Einstellungen: " + Quoted(storePath) +
                          " lässt sich weder lesen noch anlegen.";
        error += " Die Daten mit --init DATEI angeben.";
        return false;
    }
    const char* missing = dataDir == kErrorUnknownSubkey    ? "DataDir"
                          : initFile == kErrorUnknownSubkey ? "InitFile"
                                                            : nullptr;
    if (missing != nullptr) {
        error = "Der Eintrag " + Quoted(missing) + " fehlt in " +
                Quoted(CFileRegistryStore::DefaultPath()) + " oder ist nicht lesbar.";
        return false;
    }
    source.initPath = dataDir + "/" + initFile;
    source.initShown = source.initPath;
    source.display = CPathDisplay();
    return true;
}

std::string SettingValue(const std::string& key) {
    const auto found = SettingsMap.find(key);
    return found == SettingsMap.end() ? std::string() : found->second;
}

std::string DataFilePath(const std::string& key) {
    return SettingValue("DataDir") + SettingValue(key);
}
