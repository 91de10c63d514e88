#pragma once

#include <string>
#include <vector>

struct CCliRun {
    int exitCode = -1;  // -1: the program did not exit normally
    std::string out;
    std::string err;
};

// Runs the built veltrano-cli with `arguments`, XDG_CONFIG_HOME and HOME in
// `configHome`, stdin empty; with `outputPath` set, stdout goes there
// instead of being captured.
CCliRun RunCliProgram(const std::vector<std::string>& arguments, const std::string& configHome,
                      const std::string& outputPath = {});

// The lines of `text`, split at LF.
std::vector<std::string> SplitLines(const std::string& text);
