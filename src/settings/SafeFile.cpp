#include "settings/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A rename or link survives a crash only once its folder is synced.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string ResolveLinks(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool ReadAll(int fd, std::string& contents) {
    contents.clear();
    char block[16384];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.append(block, static_cast<std::size_t>(n));
    }
}

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

CSafeFile::~CSafeFile() { Discard(); }

void CSafeFile::Discard() {
    if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

bool CSafeFile::Write(const std::string& target, std::string_view contents, mode_t mode) {
    Discard();
    m_error = 0;
    if (target.empty() || target.find('\0') != std::string::npos) {
        m_error = ENOENT;
        return false;
    }
    m_target = ResolveLinks(target);
    // Hidden, and named after its file, so that a temporary a crash left
    // behind says where it belongs.
    std::string temporary = FolderOfPath(m_target) + "/." + FileNameOf(m_target) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, contents) && ::fsync(fd) == 0;
    if (!ok) m_error = errno;
    if (::close(fd) != 0 && ok) {
        m_error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    m_temporary = std::move(temporary);
    return true;
}

bool CSafeFile::Replace() {
    if (m_temporary.empty()) {
        m_error = m_error != 0 ? m_error : ENOENT;
        return false;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_error = errno;
        Discard();
        return false;
    }
    m_temporary.clear();
    SyncFolder(FolderOfPath(m_target));
    return true;
}

bool CSafeFile::Create() {
    if (m_temporary.empty()) {
        m_error = m_error != 0 ? m_error : ENOENT;
        return false;
    }
    const bool linked = ::link(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!linked) m_error = errno;
    Discard();
    SyncFolder(FolderOfPath(m_target));
    return linked;
}
