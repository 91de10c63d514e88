#include "ScratchFolder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

CScratchFolder::CScratchFolder() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    std::string pattern = ((error ? fs::path("/tmp") : base) / "veltrano-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
        // Traversable by every user, so that a child that gave up root can
        // reach it.
        ::chmod(m_path.c_str(), 0755);
    }
}

CScratchFolder::~CScratchFolder() {
    std::error_code ignored;
    // Tests take permissions away; give them back so that all can go.
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    if (!m_path.empty()) fs::remove_all(m_path, ignored);
}

std::string CScratchFolder::PathOf(std::string_view relative) const {
    return relative.empty() ? m_path : m_path + "/" + std::string(relative);
}

std::string CScratchFolder::Write(std::string_view relative, std::string_view bytes) const {
    std::string path = PathOf(relative);
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string CScratchFolder::Read(std::string_view relative) const {
    std::ifstream in(PathOf(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
