#include "settings/SettingsSource.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "settings/FileRegistryStore.h"
#include "settings/LineReader.h"
#include "settings/RegistryStore.h"
#include "text/Quoted.h"
#include "text/SystemError.h"

namespace {

std::string WithoutTrailingSlashes(std::string dir) {
    while (!dir.empty() && dir.back() == '/') dir.pop_back();
    return dir;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

CPathDisplay::CPathDisplay(std::string absoluteDir, std::string shownDir)
    : m_absolutePrefix(std::move(absoluteDir) + "/"),
      m_shownPrefix(shownDir.empty() ? std::string() : std::move(shownDir) + "/") {}

std::string CPathDisplay::Show(const std::string& path) const {
    if (m_absolutePrefix.empty() || !path.starts_with(m_absolutePrefix)) return path;
    return m_shownPrefix + path.substr(m_absolutePrefix.size());
}

bool InitFileSource(const std::string& path, CSettingsSource& source, std::string& error) {
    {
        CLineReader probe;
        if (!probe.Open(path)) {
            error = "Die Init-Datei " + Quoted(path) + " fehlt oder ist nicht lesbar.";
            return false;
        }
    }
    return InitPathSource(path, source, error);
}

bool InitPathSource(const std::string& path, CSettingsSource& source, std::string& error) {
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
    // What the store could not hold, the settings cannot stand for either.
    if (!IsStorableValue(dataDir) || !IsStorableValue(fileName)) {
        error = "Der Pfad " + Quoted(path) +
                " lässt sich nicht als Einstellung halten (länger als " +
                std::to_string(kMaxRegistryValueLength) + " Bytes oder mit Zeilenumbruch).";
        return false;
    }
    source.dataDir = dataDir;
    source.initPath = dataDir + "/" + fileName;
    source.initShown = path;
    // An absolute path is shown as it is; a relative one keeps the folder
    // the user wrote.
    source.display =
        given.is_absolute()
            ? CPathDisplay()
            : CPathDisplay(dataDir, WithoutTrailingSlashes(given.parent_path().string()));
    return true;
}

bool UserSettingsSource(const std::string& bundledDataDir, CSettingsSource& source,
                        std::string& error) {
    CFileRegistryStore store;
    std::string dataDir = ReadStoreValue(store, "DataDir");
    // A user who tries the command-line tool or the library before the
    // desktop program gets the store the desktop program would have made,
    // never one in place of theirs, and never one that points nowhere. A
    // store that another process made in the meantime serves as well.
    if (dataDir == kErrorNoKey && IsFolder(bundledDataDir) &&
        store.CreateForSampleData(bundledDataDir) != CFileRegistryStore::Creation::kFailed) {
        dataDir = ReadStoreValue(store, "DataDir");
    }
    const std::string initFile = ReadStoreValue(store, "InitFile");
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
    source.dataDir = dataDir;
    source.initPath = dataDir + "/" + initFile;
    source.initShown = source.initPath;
    source.display = CPathDisplay();
    return true;
}

std::string BundledDataDir(const std::string& binaryPath, const std::string& fromBinary) {
    if (binaryPath.empty()) return {};
    const std::filesystem::path dir =
        (std::filesystem::path(binaryPath).parent_path() / fromBinary).lexically_normal();
    return WithoutTrailingSlashes(dir.string());
}

std::string SettingValue(const CSettingsMap& settings, const std::string& key) {
    const auto found = settings.find(key);
    return found == settings.end() ? std::string() : found->second;
}

std::string DataFilePath(const CSettingsMap& settings, const std::string& key) {
    return SettingValue(settings, "DataDir") + SettingValue(settings, key);
}
