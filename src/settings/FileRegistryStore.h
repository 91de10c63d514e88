#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/RegistryStore.h"

// The store as one small text file, $XDG_CONFIG_HOME/Brannock/Veltrano.conf:
// one "Name=Value" line a value, LF line ends. A write rewrites the file
// atomically and keeps every line it does not change byte for byte.
class CFileRegistryStore : public CRegistryStore {
  public:
    // The store's path from the environment, or empty when neither
    // XDG_CONFIG_HOME nor HOME is set.
    static std::string DefaultPath();

    // Uses `path` instead of DefaultPath() when it is not empty.
    explicit CFileRegistryStore(std::string path = {});

    bool OpenKey(Access access) override;
    bool QueryValue(std::string_view valueName, std::string& value) override;
    bool SetValue(std::string_view valueName, std::string_view value) override;
    void CloseKey() override;

    enum class Creation {
        kCreated,  // the store was made with the values
        kExisted,  // a store was there already and is left as it is
        kFailed,   // there is no store, and none could be made
    };
    // Creates the store with these values unless something is in its place
    // already, making its folders as needed. Whatever is in the store's
    // place is never replaced.
    Creation CreateIfMissing(const std::vector<std::pair<std::string, std::string>>& values);
    // The store of a first run, made alike by the desktop program and
    // veltrano-cli: it points at the init.txt of the sample data in `dataDir`.
    Creation CreateForSampleData(const std::string& dataDir) {
        return CreateIfMissing({{"DataDir", dataDir}, {"InitFile", "init.txt"}});
    }

    std::string Path() const;

  private:
    std::string m_path;      // as given; empty means DefaultPath()
    std::string m_openPath;  // the path opened by OpenKey
    std::string m_contents;  // the file's bytes while open
    unsigned m_mode = 0644;  // the store's permissions, kept by a write
    bool m_open = false;
};
