#pragma once

// Helpers shared by the core tests: a data folder of their own and settings
// that point at it through an in-memory store, so that no test depends on
// the working directory or on the user's real store.

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

// A folder that belongs to one test alone and is removed with its contents.
class CScratchDir {
  public:
    CScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "veltrano-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;
    ~CScratchDir() {
        if (m_path.empty()) return;
        std::error_code ignored;
        // A test may have made a folder read-only; make it removable again.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    // Without a trailing "/", as the store keeps a data directory.
    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& relative) const { return m_path + "/" + relative; }

    // Writes `bytes` exactly, making the folders on the way; returns the path.
    std::string Write(const std::string& relative, std::string_view bytes) const {
        const std::string path = PathOf(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::string Read(const std::string& relative) const { return ReadFile(PathOf(relative)); }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The names in this folder, for checking that nothing was left behind.
    std::vector<std::string> Entries(const std::string& relative = {}) const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(
                 relative.empty() ? m_path : PathOf(relative), ec)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

  private:
    std::string m_path;
};

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

    CScratchDir& Dir() { return m_dir; }
    CMemoryRegistryStore& Store() { return m_store; }

  private:
    CMemoryRegistryStore m_store;
    CScratchDir m_dir;
};

// The value of a settings entry, or "<absent>", without adding the key as
// SettingsMap's operator[] would.
inline std::string SettingOrAbsent(const std::string& key) {
    const auto it = SettingsMap.find(key);
    return it == SettingsMap.end() ? std::string("<absent>") : it->second;
}
