// The store as a hand-edited, damaged or hostile file. Reading it never
// crashes or blocks; what cannot be read is "[Error: No Key]" (the store) or
// "[Error: Unknown Subkey]" (one value); a write either succeeds, changing one
// value and keeping every other byte, or fails and changes nothing.

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Findings.h"
#include "IsolatedRun.h"
#include "ScratchFolder.h"
#include "SpecialFiles.h"
#include "settings/FileRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

using namespace std::string_literals;

constexpr unsigned kTimeLimitSeconds = 50;
const std::string kNoKey = "[Error: No Key]";
const std::string kUnknown = "[Error: Unknown Subkey]";

// Makes the file store at `path` the current one for the life of the child.
class CStoreAt {
  public:
    explicit CStoreAt(const std::string& path) : m_store(path) { UseRegistryStore(&m_store); }
    CStoreAt(const CStoreAt&) = delete;
    CStoreAt& operator=(const CStoreAt&) = delete;
    ~CStoreAt() { UseRegistryStore(nullptr); }

  private:
    CFileRegistryStore m_store;
};

TEST(HostileStore, SpecialFilesInPlaceOfStoreAreNoKey) {
    for (const CSpecialKind& kind : SpecialKinds()) {
        CScratchFolder folder;
        const std::string path = folder.PathOf("Veltrano.conf");
        ASSERT_TRUE(kind.make(path)) << kind.name;
        const CIsolatedRun run = RunIsolated(
            [&](CFindings& findings) {
                CStoreAt store(path);
                findings.ExpectEq(ReadRegistryValue("DataDir"), kNoKey, "reading");
                SettingsReloadPending = false;
                findings.Expect(!WriteRegistryValue("DataDir", "/data"), "a write succeeded");
                findings.Expect(!SettingsReloadPending, "a failed write marked a re-read");
            },
            kTimeLimitSeconds);
        EXPECT_TRUE(run.Ok()) << kind.name << ": " << run.Describe();
        // Nothing was put in the thing's place, and nothing beside it.
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Veltrano.conf"}) << kind.name;
        struct stat info {};
        EXPECT_EQ(::lstat(path.c_str(), &info), 0) << kind.name;
        EXPECT_FALSE(S_ISREG(info.st_mode)) << kind.name << " was replaced by a file";
    }
}

TEST(HostileStore, UnreadableStoreIsNoKeyAndIsKept) {
    CScratchFolder folder;
    const std::string before = "DataDir=/data\nInitFile=init.txt\n";
    const std::string path = folder.Write("Veltrano.conf", before);
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            if (!BecomeUserDenied(findings, path, R_OK)) {
                return;
            }
            CStoreAt store(path);
            findings.ExpectEq(ReadRegistryValue("DataDir"), kNoKey, "reading");
            findings.Expect(!WriteRegistryValue("DataDir", "/new"), "a write succeeded");
        },
        kTimeLimitSeconds);
    if (run.Skipped()) {
        GTEST_SKIP() << run.message;
    }
    EXPECT_TRUE(run.Ok()) << run.Describe();
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(folder.Read("Veltrano.conf"), before);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Veltrano.conf"});
}

TEST(HostileStore, CrLfAndRepeatedNamesKeepEveryOtherByte) {
    // A store edited in another system's editor and appended to by hand: CR
    // LF line ends, names in every letter case, many times over.
    CScratchFolder folder;
    std::string before = "# kept as it is\r\n";
    for (int i = 0; i < 100000; ++i) {
        before += (i % 3 == 0   ? "datadir=/copy"
                   : i % 3 == 1 ? "DATADIR=/copy"
                                : "Other=") +
                  std::to_string(i) + "\r\n";
    }
    before += "InitFile=init.txt\r\n";
    const std::string path = folder.Write("Veltrano.conf", before);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CStoreAt store(path);
            findings.ExpectEq(ReadRegistryValue("DataDir"), "/copy0"s, "the first line counts");
            findings.ExpectEq(ReadRegistryValue("initfile"), "init.txt"s, "a later name");
            findings.Expect(WriteRegistryValue("DataDir", "/new"), "the write failed");
            findings.ExpectEq(ReadRegistryValue("DataDir"), "/new"s, "the written value");
            std::string expected = before;
            expected.replace(expected.find("/copy0"), 6, "/new");
            findings.ExpectEq(folder.Read("Veltrano.conf") == expected, true,
                              "only the first line's value changed, its CR LF kept");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Veltrano.conf"});
}

TEST(HostileStore, NulBytesAndLongValues) {
    CScratchFolder folder;
    const std::string before = "DataDir=/da\0ta\nInitFile="s + std::string(4096, 'i') +
                               "\nName\0Hidden=x\nLast="s + std::string(4095, 'l');
    const std::string path = folder.Write("Veltrano.conf", before);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CStoreAt store(path);
            // A value's text ends at its first NUL byte, as a registry string's.
            findings.ExpectEq(ReadRegistryValue("DataDir"), "/da"s, "a value with a NUL byte");
            findings.ExpectEq(ReadRegistryValue("InitFile"), kUnknown, "a 4096-byte value");
            findings.ExpectEq(ReadRegistryValue("Name"), kUnknown, "a name cut at its NUL");
            findings.ExpectEq(ReadRegistryValue("Last"), std::string(4095, 'l'),
                              "a 4095-byte value without line end");
            findings.Expect(WriteRegistryValue("InitFile", "init.txt"), "the write failed");
            findings.ExpectEq(ReadRegistryValue("InitFile"), "init.txt"s, "the written value");
            findings.ExpectEq(ReadRegistryValue("DataDir"), "/da"s, "the NUL value after it");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
}

TEST(HostileStore, HundredMegabyteLineIsReadAndKept) {
    constexpr std::size_t kSize = 100u << 20;
    CScratchFolder folder;
    const std::string path =
        WriteLong(folder, "Veltrano.conf", "Junk=", 'j', kSize, "\r\nDataDir=/data\r\n");
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CStoreAt store(path);
            findings.ExpectEq(ReadRegistryValue("Junk"), kUnknown, "the long value");
            findings.ExpectEq(ReadRegistryValue("DataDir"), "/data"s, "the line after it");
            findings.Expect(WriteRegistryValue("InitFile", "init.txt"), "the write failed");
            findings.ExpectEq(ReadRegistryValue("InitFile"), "init.txt"s, "the written value");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    EXPECT_EQ(FileSize(path), 5 + kSize + 17 + std::string("InitFile=init.txt\n").size());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Veltrano.conf"});
    if (MemoryIsMeasurable()) {
        // The store is held whole while it is open, and once more while a
        // write builds its new contents.
        EXPECT_LE(run.peakGrowthKb, static_cast<long>(3 * kSize / 1024 + std::size_t{16} * 1024))
            << run.Describe();
    }
}

}  // namespace
