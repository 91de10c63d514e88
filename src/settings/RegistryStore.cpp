#include "settings/RegistryStore.h"

#include <algorithm>

#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

namespace {

CRegistryStore* currentStore = nullptr;

CRegistryStore& FileStore() {
    static CFileRegistryStore store;
    return store;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string ReadStoreValue(CRegistryStore& store, const std::string& valueName) {
    if (!store.OpenKey(CRegistryStore::Access::kRead)) {
        return kErrorNoKey;
    }
    std::string value;
    const bool found = store.QueryValue(valueName, value);
    store.CloseKey();
    if (!found || value.size() > kMaxRegistryValueLength) {
        return kErrorUnknownSubkey;
    }
    // The value's text ends at its first zero byte, as a registry string does.
    value.resize(std::min(value.find('\0'), value.size()));
    return value;
}

CRegistryStore& CurrentRegistryStore() { return currentStore ? *currentStore : FileStore(); }

void UseRegistryStore(CRegistryStore* store) { currentStore = store; }

bool RegistryNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsStorableValue(std::string_view value) {
    return value.size() <= kMaxRegistryValueLength &&
           value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsStorableValueName(std::string_view valueName) {
    return !valueName.empty() && valueName.size() <= kMaxRegistryValueLength &&
           valueName.find_first_of(std::string_view("=\r\n\0", 4)) == std::string_view::npos;
}
