#include "CliRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "ScratchFolder.h"

extern char** environ;

namespace {

// The strings as the null-ended array of pointers that exec wants.
std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers(strings.size() + 1, nullptr);
    std::transform(strings.begin(), strings.end(), pointers.begin(),
                   [](std::string& text) { return text.data(); });
    return pointers;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

CCliRun RunCliProgram(const std::vector<std::string>& arguments, const std::string& configHome,
                      const std::string& outputPath) {
    CCliRun run;
    const CScratchFolder capture;
    const std::string outPath = outputPath.empty() ? capture.Path() + "/out" : outputPath;
    const std::string errPath = capture.Path() + "/err";

    std::vector<std::string> argStrings = {VELTRANO_CLI_PATH};
    argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = PointersTo(argStrings);

    // The caller's environment, but with the store folder of the test.
    std::vector<std::string> envStrings;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        if (!text.starts_with("XDG_CONFIG_HOME=") && !text.starts_with("HOME=")) {
            envStrings.emplace_back(text);
        }
    }
    envStrings.push_back("XDG_CONFIG_HOME=" + configHome);
    envStrings.push_back("HOME=" + configHome);
    std::vector<char*> envp = PointersTo(envStrings);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (outputPath.empty()) run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}
