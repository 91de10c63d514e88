// The store file through ReadRegistryValue and WriteRegistryValue: read, write
// one value, read back. The write must change that one value and nothing
// else, byte for byte, and leave nothing beside the store.

#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <numeric>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "settings/FileRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

std::string StoreFolder() { return FuzzScratchDir() + "/store"; }
std::string StorePath() { return StoreFolder() + "/Veltrano.conf"; }

CFileRegistryStore& Store() {
    static CFileRegistryStore store(StorePath());
    return store;
}

// Value names match ignoring ASCII case: said here as "the same once both
// are lower-cased", not as the store's character-by-character comparison.
std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return lowered;
}

bool SameName(std::string_view a, std::string_view b) { return Lowered(a) == Lowered(b); }

// Where the first line naming `valueName` keeps its value: begin and end.
using CValueSpan = std::pair<std::size_t, std::size_t>;

std::optional<CValueSpan> FindValueSpan(const std::string& contents, std::string_view valueName) {
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t lf = contents.find('\n', pos);
        std::size_t next = lf == std::string::npos ? contents.size() : lf + 1;
        std::size_t end = lf == std::string::npos ? contents.size() : lf;
        // The CR of a CR LF pair is line end, also when the file lost the LF:
        // otherwise appending a line would change the last line's value.
        if (end > pos && contents[end - 1] == '\r') {
            --end;
        }
        const std::string_view line(contents.data() + pos, end - pos);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && SameName(line.substr(0, equals), valueName)) {
            return CValueSpan{pos + equals + 1, end};
        }
        pos = next;
    }
    return std::nullopt;
}

std::string ExpectedRead(const std::string& contents, const std::string& valueName) {
    const std::optional<CValueSpan> span = FindValueSpan(contents, valueName);
    if (!span) {
        return kErrorUnknownSubkey;
    }
    const auto [begin, end] = *span;
    if (end - begin > kMaxRegistryValueLength) {
        return kErrorUnknownSubkey;
    }
    std::string value = contents.substr(begin, end - begin);
    const std::size_t nul = value.find('\0');
    return nul == std::string::npos ? value : value.substr(0, nul);
}

// The names every line of the store gives, and a few that it may lack.
std::vector<std::string> NamesToCompare(const std::string& contents) {
    std::vector<std::string> names{"DataDir", "InitFile", "x", ""};
    std::size_t pos = 0;
    while (pos < contents.size() && names.size() < 64) {
        const std::size_t lf = contents.find('\n', pos);
        const std::size_t end = lf == std::string::npos ? contents.size() : lf;
        const std::size_t equals = contents.find('=', pos);
        if (equals < end) {
            names.push_back(contents.substr(pos, equals - pos));
        }
        pos = end + 1;
    }
    return names;
}

struct CWrite {
    std::string name;
    std::string value;
};

// The write is chosen by the input, so that the corpus reaches each case:
// names in other letter case, values at the length limit and refused ones.
CWrite ChooseWrite(std::string_view input) {
    static const std::vector<std::string> kNames{"DataDir", "datadir", "InitFile", "INITFILE",
                                                 "x",       "new",     "a=b",      ""};
    static const std::vector<std::string> kValues{
        "",
        "/home/user/data",
        "a=b",
        " value with blanks ",
        std::string(kMaxRegistryValueLength, 'v'),
        std::string(kMaxRegistryValueLength + 1, 'w'),
        "cr\r",
        "lf\nx",
        std::string("nul\0x", 5),
    };
    const unsigned sum = std::accumulate(
        input.begin(), input.end(), 0U,
        [](unsigned total, char c) { return total + static_cast<unsigned char>(c); });
    return {kNames[input.size() % kNames.size()], kValues[sum % kValues.size()]};
}

bool IsStorable(const CWrite& write) {
    const std::string_view refusedInValue("\r\n\0", 3);
    const std::string_view refusedInName("=\r\n\0", 4);
    return !write.name.empty() && write.name.find_first_of(refusedInName) == std::string::npos &&
           write.value.size() <= kMaxRegistryValueLength &&
           write.value.find_first_of(refusedInValue) == std::string::npos;
}

std::string ExpectedAfterWrite(std::string contents, const CWrite& write) {
    if (const std::optional<CValueSpan> span = FindValueSpan(contents, write.name)) {
        const auto [begin, end] = *span;
        return contents.replace(begin, end - begin, write.value);
    }
    if (!contents.empty() && contents.back() != '\n') {
        contents += '\n';
    }
    return contents + write.name + "=" + write.value + "\n";
}

std::vector<std::string> FolderEntries() {
    std::vector<std::string> names;
    std::error_code error;
    std::transform(std::filesystem::directory_iterator(StoreFolder(), error),
                   std::filesystem::directory_iterator(), std::back_inserter(names),
                   [](const auto& entry) { return entry.path().filename().string(); });
    return names;
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    std::filesystem::create_directories(StoreFolder());
    UseRegistryStore(&Store());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(AsText(data, size));
    WriteFuzzFile(StorePath(), input);
    const unsigned mode = ModeOf(StorePath());

    const std::vector<std::string> names = NamesToCompare(input);
    for (const std::string& valueName : names) {
        FuzzCheck(ReadRegistryValue(valueName) == ExpectedRead(input, valueName),
                  "a value reads otherwise than the store's rule says");
    }

    const CWrite write = ChooseWrite(input);
    const bool storable = IsStorable(write);
    SettingsReloadPending = false;
    const bool written = WriteRegistryValue(write.name, write.value);
    FuzzCheck(written == storable, "a write succeeded or failed wrongly");
    FuzzCheck(SettingsReloadPending == written, "the settings' re-read mark is wrong");

    const std::string after = ReadFuzzFile(StorePath());
    const std::string expected = written ? ExpectedAfterWrite(input, write) : input;
    FuzzCheck(after == expected, "the store's bytes are not the ones expected after the write");
    FuzzCheck(FolderEntries() == std::vector<std::string>{"Veltrano.conf"},
              "the write left something beside the store");
    FuzzCheck(ModeOf(StorePath()) == mode, "the write changed the store's permissions");

    if (written) {
        FuzzCheck(ReadRegistryValue(write.name) == write.value,
                  "the written value reads back "
                  "otherwise");
    }
    for (const std::string& valueName : names) {
        if (written && SameName(valueName, write.name)) {
            continue;
        }
        FuzzCheck(ReadRegistryValue(valueName) == ExpectedRead(input, valueName),
                  "the write changed another value");
    }
    return 0;
}
