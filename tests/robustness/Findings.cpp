#include "Findings.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

bool BecomeUserDenied(CFindings& findings, const std::string& path, int access) {
    // 65534 is "nobody" on Debian.
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        findings.Add(std::string(kSkipPrefix) + "runs as root and cannot give root up");
        return false;
    }
    if (::access(path.c_str(), access) == 0) {
        findings.Add(std::string(kSkipPrefix) + path + " stays open to this user");
        return false;
    }
    return true;
}

bool LimitFileSize(CFindings& findings, std::size_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
        findings.Add("getrlimit failed");
        return false;
    }
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        findings.Add("setrlimit failed");
        return false;
    }
    return true;
}
