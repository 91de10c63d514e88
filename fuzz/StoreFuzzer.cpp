// The store file through ReadRegistryValue and WriteRegistryValue: one write,
// chosen by the input, either fails and changes nothing, or changes bytes of
// one line only (or adds one at the end), after which that value reads as
// written and every other value as before. Nothing is left beside the store,
// and its permissions stay. A value that the store could not read back whole
// must therefore be refused.

#include <sys/stat.h>

#include <functional>

#include "FuzzMain.h"

void FuzzOne(std::string_view input) {
    static CFileRegistryStore fileStore(WriteFuzzFile("Veltrano.conf", ""));
    UseRegistryStore(&fileStore);
    const std::string before(input);
    const std::string path = WriteFuzzFile("Veltrano.conf", before);
    ::chmod(path.c_str(), 0640);  // not what a new file gets

    // The name of every line and some that may be missing, and what they
    // read; the write gives one of them 1, 4095 or 4096 bytes of a letter or
    // of a byte no line can hold.
    std::vector<std::string> names{"DataDir", "INITFILE", ""};
    for (std::size_t pos = 0; pos <= before.size() && names.size() < 64;
         pos = std::min(before.find('\n', pos), before.size()) + 1) {
        names.push_back(before.substr(pos, before.find('=', pos) - pos));
    }
    std::vector<std::string> reads;
    for (const std::string& each : names) reads.push_back(ReadRegistryValue(each));
    const std::size_t pick = std::hash<std::string>{}(before);
    const std::string& name = names[pick % names.size()];
    const std::string value(pick % 3 == 0 ? 1 : 4094 + pick % 3, "v\r\n"[pick / 3 % 4]);
    SettingsReloadPending = false;
    const bool written = WriteRegistryValue(name, value);
    FuzzCheck(SettingsReloadPending == written, "a write went wrongly");

    const std::string after = ReadFuzzFile(path);
    const auto head = std::mismatch(before.begin(), before.end(), after.begin(), after.end());
    const auto tail = std::mismatch(before.rbegin(), std::make_reverse_iterator(head.first),
                                    after.rbegin(), std::make_reverse_iterator(head.second));
    FuzzCheck(written ? std::find(head.first, tail.first.base(), '\n') == tail.first.base()
                      : after == before,
              "the write changed more than one line");
    struct stat info {};
    FuzzCheck(::stat(path.c_str(), &info) == 0 && (info.st_mode & 07777) == 0640 &&
                  std::distance(std::filesystem::directory_iterator(FuzzDir()), {}) == 1,
              "the write changed the store's permissions or left a file beside it");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool same = written && RegistryNamesEqual(names[i], name);
        FuzzCheck(ReadRegistryValue(names[i]) == (same ? value : reads[i]),
                  "a value reads wrongly");
    }
}
