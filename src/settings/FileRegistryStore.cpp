#include "settings/FileRegistryStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "settings/LineReader.h"

namespace {

constexpr const char* kStoreFolder = "Brannock";
constexpr const char* kStoreFile = "Veltrano.conf";

bool ReadAll(int fd, std::string& contents) {
    contents.clear();
    char block[16384];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        contents.append(block, static_cast<std::size_t>(n));
    }
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

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

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes `contents` to a new temporary file beside `target` and returns its
// path, or an empty string on failure (nothing is left behind then).
std::string WriteTemporary(const std::string& target, std::string_view contents, mode_t mode) {
    std::string temp = ParentOf(target) + "/." + kStoreFile + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return {};
    }
    const bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, contents) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok) {
        ::unlink(temp.c_str());
        return {};
    }
    return temp;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A store reached through a symbolic link is replaced where it really lies,
// so that the link survives the write.
std::string ResolveLinks(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return path;
    }
    return resolved;
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

    const std::string target = ResolveLinks(m_openPath);
    const std::string temp = WriteTemporary(target, updated, m_mode);
    if (temp.empty()) {
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(ParentOf(target));
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
    std::filesystem::create_directories(ParentOf(path), error);
    if (error) {
        return Creation::kFailed;
    }
    const std::string temp = WriteTemporary(path, contents, 0644);
    if (temp.empty()) {
        return Creation::kFailed;
    }
    // link() refuses to replace a store that appeared in the meantime.
    const bool linked = ::link(temp.c_str(), path.c_str()) == 0;
    const int linkError = errno;
    ::unlink(temp.c_str());
    SyncFolder(ParentOf(path));
    if (linked) {
        return Creation::kCreated;
    }
    return linkError == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)
               ? Creation::kExisted
               : Creation::kFailed;
}
