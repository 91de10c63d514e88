#include "IsolatedRun.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

struct SharedReport {
    bool finished;
    char message[2048];
    long peakGrowthKb;
    double seconds;
};

// A field of /proc/self/status in kB, or -1.
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stol(line.substr(prefix.size()));
        }
    }
    return -1;
}

// Starts the peak from the present, so that memory the parent touched before
// the fork does not count.
long ResetPeakKb() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return StatusKb("VmRSS");
}

}  // namespace

std::string CIsolatedRun::Describe() const {
    std::ostringstream text;
    if (timedOut) {
        text << "did not finish in time (a hang?)";
    } else if (signal != 0) {
        text << "ended by signal " << signal << " (" << strsignal(signal) << ")";
    } else if (!finished) {
        text << "ended without reporting";
    } else if (!message.empty()) {
        text << message;
    } else {
        text << "ok";
    }
    text << "; " << seconds << " s, peak memory +" << peakGrowthKb / 1024 << " MiB";
    return text.str();
}

CIsolatedRun RunIsolated(const std::function<void(CFindings&)>& work, unsigned limitSeconds) {
    void* const mapped = ::mmap(nullptr, sizeof(SharedReport), PROT_READ | PROT_WRITE,
                                MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    CIsolatedRun run;
    if (mapped == MAP_FAILED) {
        run.message = "no shared memory for the child's report";
        return run;
    }
    // Anonymous shared memory starts zeroed: an empty report.
    auto* const report = static_cast<SharedReport*>(mapped);

    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGALRM, SIG_DFL);
        ::alarm(limitSeconds);
        const long startKb = ResetPeakKb();
        const auto start = std::chrono::steady_clock::now();
        CFindings findings;
        work(findings);
        const std::string& message = findings.Text();
        report->seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        report->peakGrowthKb = StatusKb("VmHWM") - startKb;
        std::snprintf(report->message, sizeof report->message, "%s", message.c_str());
        report->finished = true;
        // No destructors, no exit handlers: the parent owns everything the
        // child inherited.
        ::_exit(0);
    }
    if (child < 0) {
        run.message = "fork failed";
    } else {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFSIGNALED(status)) {
            run.signal = WTERMSIG(status);
            run.timedOut = run.signal == SIGALRM;
        }
        run.finished = report->finished;
        run.message = report->message;
        run.peakGrowthKb = report->peakGrowthKb;
        run.seconds = report->seconds;
    }
    ::munmap(mapped, sizeof(SharedReport));
    return run;
}

bool MemoryIsMeasurable() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}
