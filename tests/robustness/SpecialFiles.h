#pragma once

// Things that are not regular files, to put where the program expects one.

#include <functional>
#include <string>
#include <vector>

struct CSpecialKind {
    const char* name;
    // Puts the thing at `path`; false when this system cannot make it.
    std::function<bool(const std::string& path)> make;
};

// Folders, a FIFO without writer, links to devices, dangling and looping
// links, and a socket.
const std::vector<CSpecialKind>& SpecialKinds();
