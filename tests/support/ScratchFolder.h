#pragma once

#include <string>
#include <string_view>

// A folder of one test's own under TMPDIR (or /tmp), removed with everything
// in it.
class CScratchFolder {
  public:
    CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    ~CScratchFolder();

    const std::string& Path() const { return m_path; }
    std::string PathOf(std::string_view relative) const;
    // Writes `bytes` exactly, making the folders on the way; returns the path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    // The whole file, or an empty string when it cannot be read.
    std::string Read(std::string_view relative) const;

  private:
    std::string m_path;
};
