#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "settings/FileRegistryStore.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

using namespace std::string_literals;

const std::string kNoKey = "[Error: No Key]";
const std::string kUnknown = "[Error: Unknown Subkey]";

// The file store at a scratch path, current while the fixture lives.
class FileStore : public ::testing::Test {
  protected:
    void SetUp() override { UseRegistryStore(&store); }
    void TearDown() override { UseRegistryStore(nullptr); }

    std::string WriteStore(std::string_view bytes) { return dir.Write("Veltrano.conf", bytes); }
    std::string StoreBytes() { return dir.Read("Veltrano.conf"); }

    CScratchFolder dir;
    CFileRegistryStore store{dir.PathOf("Veltrano.conf")};
};

TEST_F(FileStore, ReadsValuesByTheStoreFileRules) {
    const struct {
        const char* name;
        std::string file;
        const char* valueName;
        std::string value;
    } cases[] = {
        {"plain", "DataDir=/data\nInitFile=init.txt\n", "InitFile", "init.txt"},
        {"names ignore ASCII case", "DATADIR=/data\n", "dataDir", "/data"},
        {"the CR of CR LF is line end", "DataDir=/data\r\nX=1\r\n", "DataDir", "/data"},
        {"first line of a name counts", "a=1\nA=2\n", "a", "1"},
        {"split at the first '='", "a==b = c \n", "a", "=b = c "},
        {"empty value", "a=\nb=2\n", "a", ""},
        {"last line without line end", "x=1\na=last", "a", "last"},
        {"a lone CR is data", "a=x\ry\n", "a", "x\ry"},
        {"other lines are skipped", "# note\n\njunk\na=1\n", "a", "1"},
        {"a name is no prefix", "ab=1\n", "a", kUnknown},
        {"absent value", "b=1\n", "a", kUnknown},
        {"empty store", "", "a", kUnknown},
        {"4095 bytes read whole", "a=" + std::string(4095, 'v') + "\n", "a",
         std::string(4095, 'v')},
        {"4096 bytes are too long", "a=" + std::string(4096, 'v') + "\n", "a", kUnknown},
    };
    for (const auto& c : cases) {
        WriteStore(c.file);
        EXPECT_EQ(ReadRegistryValue(c.valueName), c.value) << c.name;
    }
}

TEST_F(FileStore, MissingStoreIsNoKeyAndIsNeverCreated) {
    const std::string path = dir.PathOf("sub/Veltrano.conf");
    CFileRegistryStore missing(path);
    UseRegistryStore(&missing);
    SettingsReloadPending = false;

    EXPECT_EQ(ReadRegistryValue("DataDir"), kNoKey);
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/data"));
    EXPECT_FALSE(SettingsReloadPending);
    EXPECT_FALSE(std::filesystem::exists(dir.PathOf("sub")));
}

TEST_F(FileStore, DirectoryInPlaceOfStoreIsRefused) {
    std::filesystem::create_directory(dir.PathOf("Veltrano.conf"));
    EXPECT_EQ(ReadRegistryValue("DataDir"), kNoKey);
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/data"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.PathOf("Veltrano.conf")));
}

TEST_F(FileStore, PathWithNulByteNamesNoStore) {
    // Cut at the NUL byte, the path would name the store beside it.
    WriteStore("DataDir=/data\n");
    CFileRegistryStore cut(dir.PathOf("Veltrano.conf") + std::string("\0.bak", 5));
    UseRegistryStore(&cut);
    EXPECT_EQ(ReadRegistryValue("DataDir"), kNoKey);
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/new"));
    EXPECT_EQ(StoreBytes(), "DataDir=/data\n");
}

TEST_F(FileStore, WriteReplacesFirstLineOfNameAndKeepsOthersByteForByte) {
    WriteStore("# my store\r\nno equals here\nInitFile=a.txt\nDataDir=old\n\nX=1\nDataDir=2nd\n");
    SettingsReloadPending = false;
    ASSERT_TRUE(WriteRegistryValue("DataDir", "/new dir"));
    EXPECT_TRUE(SettingsReloadPending);
    EXPECT_EQ(
        StoreBytes(),
        "# my store\r\nno equals here\nInitFile=a.txt\nDataDir=/new dir\n\nX=1\nDataDir=2nd\n");
}

TEST_F(FileStore, WriteMatchesNameIgnoringCase) {
    WriteStore("datadir=old\nX=1\n");
    ASSERT_TRUE(WriteRegistryValue("DataDir", "new"));
    EXPECT_EQ(ReadRegistryValue("DATADIR"), "new");
    EXPECT_EQ(ReadRegistryValue("X"), "1");
    const std::string bytes = StoreBytes();
    EXPECT_EQ(bytes.find("old"), std::string::npos) << bytes;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2) << bytes;
}

TEST_F(FileStore, WriteAppendsMissingNameEvenAfterLastLineWithoutLineEnd) {
    WriteStore("A=1");
    ASSERT_TRUE(WriteRegistryValue("B", "2"));
    EXPECT_EQ(ReadRegistryValue("A"), "1");
    EXPECT_EQ(ReadRegistryValue("B"), "2");
    EXPECT_EQ(StoreBytes().rfind("A=1\n", 0), 0u) << StoreBytes();

    WriteStore("");
    ASSERT_TRUE(WriteRegistryValue("InitFile", "init.txt"));
    EXPECT_EQ(ReadRegistryValue("InitFile"), "init.txt");
}

TEST_F(FileStore, WriteReplacesFileAtomically) {
    // A link made before the write still sees the old bytes when the store is
    // replaced by rename, and sees cut bytes if it were rewritten in place.
    const std::string path = WriteStore("DataDir=old\n");
    std::filesystem::create_hard_link(path, dir.PathOf("before-write"));
    ASSERT_TRUE(WriteRegistryValue("DataDir", "new"));
    EXPECT_EQ(dir.Read("before-write"), "DataDir=old\n");
    EXPECT_EQ(ReadRegistryValue("DataDir"), "new");

    std::vector<std::string> entries = dir.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"Veltrano.conf", "before-write"}))
        << "a temporary file was left behind";
}

TEST_F(FileStore, WriteThroughSymbolicLinkKeepsLink) {
    // A store kept elsewhere (a dotfiles folder) and linked in stays linked.
    dir.Write("real/store.conf", "DataDir=old\n");
    std::filesystem::create_symlink(dir.PathOf("real/store.conf"), dir.PathOf("Veltrano.conf"));
    ASSERT_TRUE(WriteRegistryValue("DataDir", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.PathOf("Veltrano.conf")));
    EXPECT_EQ(dir.Read("real/store.conf"), "DataDir=new\n");
}

TEST_F(FileStore, WriteKeepsStorePermissions) {
    const std::string path = WriteStore("DataDir=old\n");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(WriteRegistryValue("DataDir", "new"));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(FileStore, WriteRefusesValuesTheStoreCannotHold) {
    const std::string before = "DataDir=/data\nInitFile=init.txt\n";
    const struct {
        const char* name;
        std::string value;
    } refused[] = {
        {"longer than 4095 bytes", std::string(4096, 'v')},
        {"CR", "/da\rta"},
        {"LF", "/da\nInitFile=evil"},
        {"NUL", "/da\0ta"s},
    };
    for (const auto& c : refused) {
        WriteStore(before);
        SettingsReloadPending = false;
        EXPECT_FALSE(WriteRegistryValue("DataDir", c.value)) << c.name;
        EXPECT_FALSE(SettingsReloadPending) << c.name;
        EXPECT_EQ(StoreBytes(), before) << c.name;
    }

    WriteStore(before);
    const std::string longest(4095, 'v');
    ASSERT_TRUE(WriteRegistryValue("DataDir", longest));
    EXPECT_EQ(ReadRegistryValue("DataDir"), longest);
}

TEST_F(FileStore, FailedValueWriteReportsFalseAndKeepsStore) {
    // A file size limit makes the write of the new store fail even for root.
    const std::string before = "DataDir=/data\nInitFile=init.txt\n";
    WriteStore(before);
    SettingsReloadPending = false;

    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteRegistryValue("DataDir", std::string(3000, 'v'));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_FALSE(SettingsReloadPending);
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Veltrano.conf"})
        << "a temporary file was left behind";
}

TEST_F(FileStore, ReadOnlyFolderMakesWriteFail) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string before = "DataDir=/data\n";
    WriteStore(before);
    ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
    SettingsReloadPending = false;
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/new"));
    EXPECT_FALSE(SettingsReloadPending);
    EXPECT_EQ(StoreBytes(), before);
}

using Creation = CFileRegistryStore::Creation;

TEST_F(FileStore, CreateIfMissingMakesFoldersAndNeverOverwrites) {
    CFileRegistryStore fresh(dir.PathOf("a/b/Veltrano.conf"));
    ASSERT_EQ(fresh.CreateIfMissing({{"DataDir", "/sample"}, {"InitFile", "init.txt"}}),
              Creation::kCreated);
    UseRegistryStore(&fresh);
    EXPECT_EQ(ReadRegistryValue("DataDir"), "/sample");
    EXPECT_EQ(ReadRegistryValue("InitFile"), "init.txt");

    const std::string mine = "DataDir=/mine\n";
    dir.Write("a/b/Veltrano.conf", mine);
    EXPECT_EQ(fresh.CreateIfMissing({{"DataDir", "/sample"}}), Creation::kExisted);
    EXPECT_EQ(dir.Read("a/b/Veltrano.conf"), mine);
}

TEST_F(FileStore, CreateIfMissingNeitherReplacesNorReportsWhatIsNoStore) {
    const struct {
        const char* name;
        bool (*make)(const std::string& path);
    } kinds[] = {
        {"a dangling link",
         [](const std::string& p) { return symlink("nowhere/at/all", p.c_str()) == 0; }},
        {"a folder", [](const std::string& p) { return std::filesystem::create_directory(p); }},
    };
    for (const auto& kind : kinds) {
        CScratchFolder place;
        const std::string path = place.PathOf("Veltrano.conf");
        ASSERT_TRUE(kind.make(path)) << kind.name;
        CFileRegistryStore store(path);
        EXPECT_EQ(store.CreateIfMissing({{"DataDir", "/sample"}}), Creation::kFailed) << kind.name;
        EXPECT_FALSE(std::filesystem::is_regular_file(path)) << kind.name;
        EXPECT_EQ(place.Entries(), std::vector<std::string>{"Veltrano.conf"}) << kind.name;
    }

    // A link to a store is that store.
    WriteStore("DataDir=/mine\n");
    ASSERT_EQ(symlink("Veltrano.conf", dir.PathOf("link.conf").c_str()), 0);
    EXPECT_EQ(CFileRegistryStore(dir.PathOf("link.conf")).CreateIfMissing({{"DataDir", "/x"}}),
              Creation::kExisted);
}

TEST_F(FileStore, CreateIfMissingRefusesWhatAWriteWouldRefuse) {
    const std::vector<std::pair<std::string, std::string>> refused[] = {
        {{"", "x"}},
        {{"DataDir", std::string(kMaxRegistryValueLength + 1, 'v')}},
        {{"Data=Dir", "x"}},
        {{"DataDir", "a\nInitFile=evil"}},
    };
    for (const auto& values : refused) {
        CFileRegistryStore fresh(dir.PathOf("new/Veltrano.conf"));
        EXPECT_EQ(fresh.CreateIfMissing(values), Creation::kFailed) << values.front().first;
        EXPECT_FALSE(std::filesystem::exists(dir.PathOf("new/Veltrano.conf")));
    }
    CFileRegistryStore fresh(dir.PathOf("new/Veltrano.conf"));
    EXPECT_EQ(fresh.CreateIfMissing({{"DataDir", std::string(kMaxRegistryValueLength, 'v')}}),
              Creation::kCreated);
}

class StorePath : public ::testing::Test {
  protected:
    void TearDown() override {
        Restore("XDG_CONFIG_HOME", xdg);
        Restore("HOME", home);
    }
    static void Set(const char* name, const char* value) {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    static std::string Saved(const char* name) {
        const char* v = getenv(name);
        return v ? v : "\x01unset";
    }
    static void Restore(const char* name, const std::string& saved) {
        Set(name, saved == "\x01unset" ? nullptr : saved.c_str());
    }
    std::string xdg = Saved("XDG_CONFIG_HOME");
    std::string home = Saved("HOME");
};

TEST_F(StorePath, FollowsXdgBaseDirectoryRules) {
    const struct {
        const char* name;
        const char* xdg;
        const char* home;
        std::string path;
    } cases[] = {
        {"XDG_CONFIG_HOME set", "/x/conf", "/home/u", "/x/conf/Brannock/Veltrano.conf"},
        {"XDG_CONFIG_HOME empty", "", "/home/u", "/home/u/.config/Brannock/Veltrano.conf"},
        {"relative XDG_CONFIG_HOME is ignored", "conf", "/home/u",
         "/home/u/.config/Brannock/Veltrano.conf"},
        {"XDG_CONFIG_HOME unset", nullptr, "/home/u", "/home/u/.config/Brannock/Veltrano.conf"},
        {"neither set", nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        Set("XDG_CONFIG_HOME", c.xdg);
        Set("HOME", c.home);
        EXPECT_EQ(CFileRegistryStore::DefaultPath(), c.path) << c.name;
    }
}

TEST_F(StorePath, ProgramStoreIsReadFromXdgConfigHome) {
    CScratchFolder config;
    config.Write("Brannock/Veltrano.conf", "DataDir=/from/xdg\n");
    Set("XDG_CONFIG_HOME", config.Path().c_str());
    UseRegistryStore(nullptr);
    EXPECT_EQ(ReadRegistryValue("DataDir"), "/from/xdg");
}

TEST(MemoryStore, FollowsTheFileStoreRules) {
    CMemoryRegistryStore store;
    UseRegistryStore(&store);
    EXPECT_EQ(ReadRegistryValue("DataDir"), kUnknown);
    ASSERT_TRUE(WriteRegistryValue("DataDir", "/a"));
    ASSERT_TRUE(WriteRegistryValue("DATADIR", "/b"));
    EXPECT_EQ(ReadRegistryValue("datadir"), "/b");
    ASSERT_EQ(store.Values().size(), 1u);
    EXPECT_EQ(store.Values()[0].second, "/b");

    ASSERT_TRUE(store.OpenKey(CRegistryStore::Access::kReadWrite));
    EXPECT_TRUE(store.SetValue("Long", std::string(4096, 'v')));
    store.CloseKey();
    EXPECT_EQ(ReadRegistryValue("Long"), kUnknown);
    UseRegistryStore(nullptr);
}

TEST(MemoryStore, MissingKeyAndFailedWritesAreReported) {
    CMemoryRegistryStore store(false);
    UseRegistryStore(&store);
    SettingsReloadPending = false;
    EXPECT_EQ(ReadRegistryValue("DataDir"), kNoKey);
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/a"));
    EXPECT_FALSE(SettingsReloadPending);

    store.SetKeyExists(true);
    store.SetFailValueWrites(true);
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/a"));
    EXPECT_FALSE(SettingsReloadPending);
    EXPECT_TRUE(store.Values().empty());

    store.SetFailValueWrites(false);
    EXPECT_TRUE(WriteRegistryValue("DataDir", "/a"));
    EXPECT_TRUE(SettingsReloadPending);
    UseRegistryStore(nullptr);
}

TEST(RegistryNames, MatchIgnoringAsciiCaseOnly) {
    EXPECT_TRUE(RegistryNamesEqual("DataDir", "dATAdIR"));
    EXPECT_FALSE(RegistryNamesEqual("DataDir", "DataDi"));
    EXPECT_FALSE(RegistryNamesEqual("DataDir", "DataDir "));
    EXPECT_FALSE(RegistryNamesEqual("\xc4", "\xe4")) << "Latin-1 letters are not folded";
    EXPECT_FALSE(RegistryNamesEqual("@", "`")) << "only letters differ by 0x20";
}

}  // namespace
