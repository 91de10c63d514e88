#include "settings/FileRegistryStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "settings/LineReader.h"
#include "settings/SafeFile.h"

namespace {

constexpr const char* kStoreFolder = "Brannock";
constexpr const char* kStoreFile = "Veltrano.conf";

// One line of the store: [begin, end) without its line end, and the offset of
// the next line.
struct StoreLine {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

StoreLine LineAt(const std::string& contents, std::size_t begin) {
    const std::size_t lf = contents.find('\n', begin);
    if (lf == std::string::npos) {
        // A CR that ends the file is what is left of a CR LF pair whose LF
        // went missing: a write that appends a line must not change this value.
        const std::size_t end = contents.size();
        return {begin, (end > begin && contents[end - 1] == '\r') ? end - 1 : end, end};
    }
    // The CR of a CR LF pair is part of the line end, never of the value.
    const std::size_t end = (lf > begin && contents[lf - 1] == '\r') ? lf - 1 : lf;
    return {begin, end, lf + 1};
}

// The offset just after the '=' of the first line naming `valueName`, and the
// end of that line's value; false when no line names it.
bool FindValue(const std::string& contents, std::string_view valueName, std::size_t& valueBegin,
               std::size_t& valueEnd) {
    for (std::size_t pos = Utf8BomLength(contents); pos < contents.size();) {
        const StoreLine line = LineAt(contents, pos);
        const std::string_view text(contents.data() + line.begin, line.end - line.begin);
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos &&
            RegistryNamesEqual(text.substr(0, equals), valueName)) {
            valueBegin = line.begin + equals + 1;
            valueEnd = line.end;
            return true;
        }
        pos = line.next;
    }
    return false;
}

bool IsUsableBase(const char* value) { return value != nullptr && value[0] == '/'; }

}  // namespace

std::string CFileRegistryStore::DefaultPath() {
    // XDG Base Directory rules: an unset, empty or relative XDG_CONFIG_HOME
    // is ignored in favour of $HOME/.config.
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); IsUsableBase(config)) {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = std::string(home) + "/.config";
    } else {
        return {};
    }
    return base + "/" + kStoreFolder + "/" + kStoreFile;
}

CFileRegistryStore::CFileRegistryStore(std::string path) : m_path(std::move(path)) {}

std::string CFileRegistryStore::Path() const { return m_path.empty() ? DefaultPath() : m_path; }

bool CFileRegistryStore::OpenKey(Access access) {
    CloseKey();
    const std::string path = Path();
    if (path.empty()) {
        return false;
    }
    struct stat info {};
    const int fd = OpenRegularFile(path, access == Access::kRead ? O_RDONLY : O_RDWR, info);
    if (fd < 0) {
        return false;
    }
    const bool read = ReadAll(fd, m_contents);
    ::close(fd);
    if (!read) {
        m_contents.clear();
        return false;
    }
    m_openPath = path;
    m_mode = info.st_mode & 07777;
    m_open = true;
    return true;
}

bool CFileRegistryStore::QueryValue(std::string_view valueName, std::string& value) {
    std::size_t begin = 0;
    std::size_t end = 0;
    if (!m_open || !FindValue(m_contents, valueName, begin, end)) {
        return false;
    }
    value.assign(m_contents, begin, end - begin);
    return true;
}

bool CFileRegistryStore::SetValue(std::string_view valueName, std::string_view value) {
    if (!m_open) {
        return false;
    }
    std::string updated = m_contents;
    std::size_t begin = 0;
    std::size_t end = 0;
    if (FindValue(updated, valueName, begin, end)) {
        updated.replace(begin, end - begin, value);
    } else {
        if (updated.size() > Utf8BomLength(updated) && updated.back() != '\n') {
            updated += '\n';
        }
        updated.append(valueName).append("=").append(value).append("\n");
    }

    CSafeFile file;
    if (!file.Write(m_openPath, updated, m_mode) || !file.Replace()) {
        return false;
    }
    m_contents = std::move(updated);
    return true;
}

void CFileRegistryStore::CloseKey() {
    m_open = false;
    m_contents.clear();
    m_openPath.clear();
}

CFileRegistryStore::Creation CFileRegistryStore::CreateIfMissing(
    const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string path = Path();
    if (path.empty() || path.find('\0') != std::string::npos) {
        return Creation::kFailed;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        // Only a file, or a link to one, is a store; a dangling link or a
        // folder stays, and there is no store.
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? Creation::kExisted
                                                                         : Creation::kFailed;
    }
    std::string contents;
    for (const auto& [valueName, value] : values) {
        if (!IsStorableValueName(valueName) || !IsStorableValue(value)) {
            return Creation::kFailed;
        }
        contents.append(valueName).append("=").append(value).append("\n");
    }
    std::error_code error;
    std::filesystem::create_directories(FolderOfPath(path), error);
    if (error) {
        return Creation::kFailed;
    }
    CSafeFile file;
    if (!file.Write(path, contents, 0644)) {
        return Creation::kFailed;
    }
    if (file.Create()) {
        return Creation::kCreated;
    }
    // link() refuses to replace a store that appeared in the meantime.
    return file.ErrorNumber() == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)
               ? Creation::kExisted
               : Creation::kFailed;
}
