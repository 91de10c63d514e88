// Helpers of the robustness tests of before the cases as data. They go when
// those tests no longer use them.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "ScratchFolder.h"

namespace fs = std::filesystem;

std::string CScratchFolder::WriteStreamed(std::string_view relative,
                                          const std::function<bool(std::string&)>& next) const {
    std::string path = PathOf(relative);
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string piece;
    while (next(piece)) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        piece.clear();
    }
    return path;
}

std::vector<std::string> CScratchFolder::Entries(std::string_view relative) const {
    std::vector<std::string> names;
    std::error_code error;
    std::transform(fs::directory_iterator(PathOf(relative), error), fs::directory_iterator(),
                   std::back_inserter(names),
                   [](const auto& entry) { return entry.path().filename().string(); });
    std::sort(names.begin(), names.end());
    return names;
}

std::string WriteNumbered(const CScratchFolder& folder, std::string_view relative,
                          std::string_view unit, std::size_t count) {
    std::size_t done = 0;
    return folder.WriteStreamed(relative, [&](std::string& piece) {
        for (; done < count && piece.size() < (1u << 20); ++done) {
            for (const char c : unit) {
                if (c == '%') {
                    piece += std::to_string(done);
                } else {
                    piece += c;
                }
            }
        }
        return !piece.empty();
    });
}

std::string WriteLong(const CScratchFolder& folder, std::string_view relative,
                      std::string_view prefix, char fill, std::size_t size,
                      std::string_view suffix) {
    constexpr std::size_t kPiece = 1u << 20;
    std::size_t left = size;
    int stage = 0;
    return folder.WriteStreamed(relative, [&](std::string& piece) {
        if (stage == 0) {
            piece = prefix;
            stage = 1;
            return true;
        }
        if (left > 0) {
            piece.assign(std::min(left, kPiece), fill);
            left -= piece.size();
            return true;
        }
        if (stage == 1) {
            piece = suffix;
            stage = 2;
            return true;
        }
        return false;
    });
}

std::size_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
