#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/RegistryStore.h"

// A store held in memory, for tests and tools that want settings without a
// file. It follows the file store's rules: names match ignoring ASCII case and
// the first value of a name counts.
class CMemoryRegistryStore : public CRegistryStore {
  public:
    // With keyExists false the store behaves like a missing file.
    explicit CMemoryRegistryStore(bool keyExists = true) : m_keyExists(keyExists) {}

    bool OpenKey(Access access) override;
    bool QueryValue(std::string_view valueName, std::string& value) override;
    bool SetValue(std::string_view valueName, std::string_view value) override;
    void CloseKey() override;

    void SetKeyExists(bool exists) { m_keyExists = exists; }
    // Writes open the key but fail to store the value.
    void SetFailValueWrites(bool fail) { m_failValueWrites = fail; }
    const std::vector<std::pair<std::string, std::string>>& Values() const { return m_values; }

  private:
    std::vector<std::pair<std::string, std::string>> m_values;
    bool m_keyExists;
    bool m_failValueWrites = false;
    bool m_open = false;
};
