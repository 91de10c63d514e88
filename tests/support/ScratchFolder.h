#pragma once

// A folder of one test's own, removed with everything in it, and the means
// to fill it with files too large to build in memory first.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CScratchFolder {
  public:
    // Made under TMPDIR (or /tmp); traversable by every user, so that a child
    // that gave up root can reach it.
    CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    ~CScratchFolder();

    const std::string& Path() const { return m_path; }
    std::string PathOf(std::string_view relative) const;

    // Writes `bytes` exactly, making the folders on the way; returns the path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    // Writes what `next` hands out, piece by piece, until it returns false.
    std::string WriteStreamed(std::string_view relative,
                              const std::function<bool(std::string&)>& next) const;
    std::string Read(std::string_view relative) const;
    // The names in a folder of this one, sorted.
    std::vector<std::string> Entries(std::string_view relative = {}) const;

  private:
    std::string m_path;
};

// A file made of `count` copies of `unit`, `%` in it replaced by the copy's
// number.
std::string WriteNumbered(const CScratchFolder& folder, std::string_view relative,
                          std::string_view unit, std::size_t count);

// A file of `prefix`, then `size` bytes of `fill`, then `suffix`.
std::string WriteLong(const CScratchFolder& folder, std::string_view relative,
                      std::string_view prefix, char fill, std::size_t size,
                      std::string_view suffix);

std::size_t FileSize(const std::string& path);

// The whole file, or an empty string when it cannot be read.
std::string ReadFile(const std::string& path);
