#include "Findings.h"

#include <grp.h>
#include <unistd.h>

std::string BecomeUnprivileged() {
    if (::geteuid() != 0) {
        return {};
    }
    // 65534 is "nobody" on Debian.
    constexpr uid_t kNobody = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
        return std::string(kSkipPrefix) + "runs as root and cannot give root up";
    }
    return {};
}
