#include "SpecialFiles.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

bool MakeUnixSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool MakeLink(const char* target, const std::string& path) {
    return ::symlink(target, path.c_str()) == 0;
}

}  // namespace

const std::vector<CSpecialKind>& SpecialKinds() {
    static const std::vector<CSpecialKind> kinds{
        {"a folder", [](const std::string& p) { return ::mkdir(p.c_str(), 0755) == 0; }},
        {"a FIFO without writer",
         [](const std::string& p) { return ::mkfifo(p.c_str(), 0644) == 0; }},
        {"a link to /dev/zero", [](const std::string& p) { return MakeLink("/dev/zero", p); }},
        {"a link to /dev/null", [](const std::string& p) { return MakeLink("/dev/null", p); }},
        {"a link to /dev/urandom",
         [](const std::string& p) { return MakeLink("/dev/urandom", p); }},
        {"a dangling link", [](const std::string& p) { return MakeLink("nowhere/at/all", p); }},
        {"a link to itself", [](const std::string& p) { return MakeLink(p.c_str(), p); }},
        {"a UNIX socket", MakeUnixSocket},
    };
    return kinds;
}
