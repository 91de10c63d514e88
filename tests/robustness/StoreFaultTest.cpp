// Writing the store when the system says no: a full disk, a folder the user
// may not write, a folder that vanished, a store replaced while open. The
// earlier store stays as it was, the write reports false, and no temporary
// file is left behind.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Findings.h"
#include "IsolatedRun.h"
#include "ScratchFolder.h"
#include "settings/FileRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

using namespace std::string_literals;

constexpr unsigned kTimeLimitSeconds = 30;
const std::string kStore = "DataDir=/data\nInitFile=init.txt\n";

TEST(StoreFaults, FullDiskKeepsStoreAndLeavesNothing) {
    // The old store is larger than one write block and than the limit's
    // remainder, so the new one is cut in the middle.
    CScratchFolder folder;
    std::string before = kStore;
    for (int i = 0; i < 5000; ++i) {
        before += "Line" + std::to_string(i) + "=kept\n";
    }
    const std::string path = folder.Write("Veltrano.conf", before);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            if (!LimitFileSize(findings, before.size() + 100)) {
                return;
            }
            CFileRegistryStore store(path);
            UseRegistryStore(&store);
            SettingsReloadPending = false;
            findings.Expect(!WriteRegistryValue("DataDir", std::string(4000, 'v')),
                            "a write past the limit succeeded");
            findings.Expect(!SettingsReloadPending, "a failed write marked a re-read");
            findings.ExpectEq(ReadRegistryValue("DataDir"), "/data"s, "the value after it");
            // A write that fits still works.
            findings.Expect(WriteRegistryValue("DataDir", "/d2"), "a write within the limit");
            UseRegistryStore(nullptr);
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    std::string after = before;
    after.replace(after.find("/data"), 5, "/d2");
    EXPECT_EQ(folder.Read("Veltrano.conf"), after);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Veltrano.conf"});
}

TEST(StoreFaults, FullDiskCreatesNoStore) {
    CScratchFolder folder;
    const std::string path = folder.PathOf("config/Brannock/Veltrano.conf");
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            if (!LimitFileSize(findings, 10)) {
                return;
            }
            CFileRegistryStore store(path);
            findings.Expect(store.CreateIfMissing(
                                {{"DataDir", "/usr/share/veltrano"}, {"InitFile", "init.txt"}}) ==
                                CFileRegistryStore::Creation::kFailed,
                            "the store was reported made");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(folder.Entries("config/Brannock"), std::vector<std::string>{})
        << "a temporary file was left behind";
}

TEST(StoreFaults, ReadOnlyFolderKeepsStore) {
    // The store may be written, its folder not: the new store cannot be made
    // beside it. Root writes everywhere, so the child gives root up.
    CScratchFolder folder;
    const std::string path = folder.Write("store/Veltrano.conf", kStore);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.PathOf("store").c_str(), 0555), 0);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            if (!BecomeUserDenied(findings, folder.PathOf("store"), W_OK)) {
                return;
            }
            CFileRegistryStore store(path);
            UseRegistryStore(&store);
            findings.ExpectEq(ReadRegistryValue("DataDir"), "/data"s, "reading");
            SettingsReloadPending = false;
            findings.Expect(!WriteRegistryValue("DataDir", "/new"), "the write succeeded");
            findings.Expect(!SettingsReloadPending, "a failed write marked a re-read");
            UseRegistryStore(nullptr);
        },
        kTimeLimitSeconds);
    if (run.Skipped()) {
        GTEST_SKIP() << run.message;
    }
    EXPECT_TRUE(run.Ok()) << run.Describe();
    EXPECT_EQ(folder.Read("store/Veltrano.conf"), kStore);
    EXPECT_EQ(folder.Entries("store"), std::vector<std::string>{"Veltrano.conf"});
}

TEST(StoreFaults, StoreUnderAFileIsNoKeyAndIsNeverMade) {
    // A file where the store's folder should be: nothing can be opened or
    // made beneath it, for root neither.
    CScratchFolder folder;
    folder.Write("Brannock", "not a folder\n");
    const std::string path = folder.PathOf("Brannock/Veltrano.conf");
    CFileRegistryStore store(path);
    UseRegistryStore(&store);
    EXPECT_EQ(ReadRegistryValue("DataDir"), "[Error: No Key]");
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/new"));
    EXPECT_EQ(store.CreateIfMissing({{"DataDir", "/d"}, {"InitFile", "init.txt"}}),
              CFileRegistryStore::Creation::kFailed);
    UseRegistryStore(nullptr);
    EXPECT_EQ(folder.Read("Brannock"), "not a folder\n");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Brannock"});
}

TEST(StoreFaults, VanishedFolderIsNoKeyAndIsNotMadeAgain) {
    CScratchFolder folder;
    const std::string path = folder.Write("Brannock/Veltrano.conf", kStore);
    std::filesystem::remove_all(folder.PathOf("Brannock"));
    CFileRegistryStore store(path);
    UseRegistryStore(&store);
    EXPECT_EQ(ReadRegistryValue("DataDir"), "[Error: No Key]");
    EXPECT_FALSE(WriteRegistryValue("DataDir", "/new"));
    UseRegistryStore(nullptr);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{});
}

TEST(StoreFaults, FolderVanishingWhileOpenFailsTheWrite) {
    // The folder goes (moved away by another program) between reading the
    // store and writing it back.
    CScratchFolder folder;
    const std::string path = folder.Write("Brannock/Veltrano.conf", kStore);
    CFileRegistryStore store(path);
    ASSERT_TRUE(store.OpenKey(CRegistryStore::Access::kReadWrite));
    ASSERT_EQ(std::rename(folder.PathOf("Brannock").c_str(), folder.PathOf("moved").c_str()), 0);
    EXPECT_FALSE(store.SetValue("DataDir", "/new"));
    store.CloseKey();
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"moved"});
    EXPECT_EQ(folder.Entries("moved"), std::vector<std::string>{"Veltrano.conf"});
    EXPECT_EQ(folder.Read("moved/Veltrano.conf"), kStore);
}

TEST(StoreFaults, StoreReplacedByFolderWhileOpenFailsTheWrite) {
    CScratchFolder folder;
    const std::string path = folder.Write("Veltrano.conf", kStore);
    CFileRegistryStore store(path);
    ASSERT_TRUE(store.OpenKey(CRegistryStore::Access::kReadWrite));
    ASSERT_TRUE(std::filesystem::remove(path));
    ASSERT_TRUE(std::filesystem::create_directory(path));
    folder.Write("Veltrano.conf/inside", "x");
    EXPECT_FALSE(store.SetValue("DataDir", "/new"));
    store.CloseKey();
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Veltrano.conf"})
        << "a temporary file was left behind";
}

}  // namespace
