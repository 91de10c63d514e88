#pragma once

#include <string>
#include <vector>

// A folder of its own under the system's temporary folder, removed with
// everything in it when the object goes.
class CScratchDir {
  public:
    CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;
    ~CScratchDir();

    const std::string& Path() const { return m_path; }
    // Writes `contents` to `name` inside the folder, making folders as
    // needed, and returns its path.
    std::string Write(const std::string& name, const std::string& contents) const;

  private:
    std::string m_path;
};

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

// The whole file, or an empty string when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The lines of `text`, split at LF.
std::vector<std::string> SplitLines(const std::string& text);
