#include "settings/MemoryRegistryStore.h"

bool CMemoryRegistryStore::OpenKey(Access /*access*/) {
    m_open = m_keyExists;
    return m_open;
}

bool CMemoryRegistryStore::QueryValue(std::string_view valueName, std::string& value) {
    if (!m_open) {
        return false;
    }
    for (const auto& [storedName, storedValue] : m_values) {
        if (RegistryNamesEqual(storedName, valueName)) {
            value = storedValue;
            return true;
        }
    }
    return false;
}

bool CMemoryRegistryStore::SetValue(std::string_view valueName, std::string_view value) {
    if (!m_open || m_failValueWrites) {
        return false;
    }
    for (auto& [storedName, storedValue] : m_values) {
        if (RegistryNamesEqual(storedName, valueName)) {
            storedValue = value;
            return true;
        }
    }
    m_values.emplace_back(valueName, value);
    return true;
}

void CMemoryRegistryStore::CloseKey() { m_open = false; }
