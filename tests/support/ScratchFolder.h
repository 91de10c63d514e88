#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

    // Only for the robustness tests of before (ScratchFolderExtras.cpp).
    std::string WriteStreamed(std::string_view relative,
                              const std::function<bool(std::string&)>& next) const;
    std::vector<std::string> Entries(std::string_view relative = {}) const;

  private:
    std::string m_path;
};

// Only for the robustness tests of before (ScratchFolderExtras.cpp).
std::string WriteNumbered(const CScratchFolder& folder, std::string_view relative,
                          std::string_view unit, std::size_t count);
std::string WriteLong(const CScratchFolder& folder, std::string_view relative,
                      std::string_view prefix, char fill, std::size_t size,
                      std::string_view suffix);
std::size_t FileSize(const std::string& path);
std::string ReadFile(const std::string& path);
