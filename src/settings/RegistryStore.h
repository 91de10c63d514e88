#pragma once

#include <string>
#include <string_view>

// The four operations the settings need from a persistent key/value store.
// ReadRegistryValue and WriteRegistryValue go through the current store; the
// program uses the file store, tests and tools may put another in its place.
class CRegistryStore {
  public:
    enum class Access { kRead, kReadWrite };

    virtual ~CRegistryStore() = default;

    // False when the key does not exist or cannot be opened for this access.
    // Never creates the key.
    virtual bool OpenKey(Access access) = 0;
    // False when the value is absent or unreadable. Only valid while open.
    virtual bool QueryValue(std::string_view valueName, std::string& value) = 0;
    // False when the value could not be stored. Only valid while open for
    // writing.
    virtual bool SetValue(std::string_view valueName, std::string_view value) = 0;
    virtual void CloseKey() = 0;
};

// Reads one value of `store`: its text, or kErrorNoKey when the store cannot
// be opened, or kErrorUnknownSubkey when the value is absent, longer than
// kMaxRegistryValueLength or unreadable (see ReadRegistryValue).
std::string ReadStoreValue(CRegistryStore& store, const std::string& valueName);

// The store that ReadRegistryValue and WriteRegistryValue use.
CRegistryStore& CurrentRegistryStore();

// Makes `store` the current store; nullptr restores the file store. The
// caller keeps ownership and keeps `store` alive while it is current.
void UseRegistryStore(CRegistryStore* store);

// Value names match ignoring ASCII case, as registry value names do.
bool RegistryNamesEqual(std::string_view a, std::string_view b);

// A name or value that would break the store's one-value-a-line format, or
// that could not be read back whole, is refused rather than stored cut.
bool IsStorableValueName(std::string_view valueName);
bool IsStorableValue(std::string_view value);
