// The store file through ReadRegistryValue and WriteRegistryValue: one write,
// chosen by the input, either fails and changes nothing, or the value reads
// back as written; nothing is left beside the store, and its permissions
// stay. A value that the store could not read back whole must be refused.

#include <sys/stat.h>

#include <functional>

#include "FuzzMain.h"

void FuzzOne(std::string_view input) {
    static CFileRegistryStore fileStore(WriteFuzzFile("Veltrano.conf", ""));
    UseRegistryStore(&fileStore);
    const std::string before(input);
    const std::string path = WriteFuzzFile("Veltrano.conf", before);
    ::chmod(path.c_str(), 0640);  // not what a new file gets

    // The name of one of the lines, or of none; 1, 4095 or 4096 bytes of a
    // letter or of a byte that no line can hold.
    std::vector<std::string> names{"DataDir", "INITFILE", ""};
    for (std::size_t pos = 0; pos <= before.size() && names.size() < 64;
         pos = std::min(before.find('\n', pos), before.size()) + 1) {
        names.push_back(before.substr(pos, before.find('=', pos) - pos));
    }
    const std::size_t pick = std::hash<std::string>{}(before);
    const std::string& name = names[pick % names.size()];
    const std::string value(pick % 3 == 0 ? 1 : 4094 + pick % 3, "v\r\n"[pick / 3 % 4]);
    const bool written = WriteRegistryValue(name, value);
    FuzzCheck(written ? ReadRegistryValue(name) == value : ReadFuzzFile(path) == before,
              "a write went wrongly");
    struct stat info {};
    FuzzCheck(::stat(path.c_str(), &info) == 0 && (info.st_mode & 07777) == 0640 &&
                  std::distance(std::filesystem::directory_iterator(FuzzDir()), {}) == 1,
              "the write changed the store's permissions or left a file beside it");
}
