// Special files where the data files and the store should be, and disks that
// fail under a write, as one table. Each row runs in a child process as an
// ordinary user (root may read and write anything), stopped after a time
// limit, so that a FIFO that blocks or a crash fails its row alone.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "semantics/Semantics.h"
#include "settings/FileRegistryStore.h"

namespace {

namespace fs = std::filesystem;

// Root reads and writes anything: the children run as nobody.
const uid_t kUser = ::geteuid() == 0 ? 65534 : ::geteuid();

// In the child of EXPECT_EXIT: prints what `work` says as user nobody.
void Report(const std::function<std::string()>& work) {
    ::alarm(10);
    ::signal(SIGXFSZ, SIG_IGN);
    const bool user = ::geteuid() != 0 || (::setgid(kUser) == 0 && ::setuid(kUser) == 0);
    std::fputs(user ? work().c_str() : "cannot give up root", stderr);
    std::_Exit(0);
}

// A data folder whose store names it. The store's value goes on past a NUL
// byte, which ends it as it ends a registry string, and its last line lost
// the LF of its CR LF.
void WriteDataFolder(const CScratchFolder& folder) {
    folder.Write("Veltrano.conf", "DataDir=" + folder.Path() + '\0' + "~\nInitFile=init.txt\r");
    folder.Write("init.txt", "languages=languages.txt\nsemantics=semantics.txt\n");
    folder.Write("languages.txt", "[a]\nx\n");
    folder.Write("semantics.txt", "[C]\nl:1:T:^a\n");
    // The child's user owns the folder and the store, as a user owns theirs.
    ASSERT_EQ(::chown(folder.Path().c_str(), kUser, -1), 0);
    ASSERT_EQ(::chown(folder.PathOf("Veltrano.conf").c_str(), kUser, -1), 0);
}

// The program's start on it: whether the semantics loaded, whether the store
// was read, a name, whether a store write went through, and whether 50 MiB or
// more were held.
std::string Start(const CScratchFolder& folder) {
    CFileRegistryStore store(folder.PathOf("Veltrano.conf"));
    UseRegistryStore(&store);
    SettingsReloadPending = true;
    CSemantics semantics;
    const std::string loaded = std::to_string(semantics.Load());
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return loaded + std::to_string(SettingsMap["DataDir"] == folder.Path() + "/") +
           semantics.Generate("C", "T") +
           std::to_string(WriteRegistryValue("InitFile", "init.txt")) +
           (usage.ru_maxrss < 50 << 10 ? "" : " held");
}

// Each stands where the file was, which lies aside as "<file>~".
const std::pair<const char*, bool (*)(const std::string&)> kSpecialFiles[] = {
    {"a FIFO", [](const auto& p) { return ::mkfifo(p.c_str(), 0666) == 0; }},
    {"a folder", [](const auto& p) { return fs::create_directory(p); }},
    {"a device", [](const auto& p) { return ::symlink("/dev/zero", p.c_str()) == 0; }},
    {"a socket", [](const auto& p) { return ::mknod(p.c_str(), S_IFSOCK | 0666, 0) == 0; }},
    {"a dangling link", [](const auto& p) { return ::symlink("gone", p.c_str()) == 0; }},
    {"an unreadable file",
     [](const auto& p) { return fs::copy_file(p + "~", p) && !::chmod(p.c_str(), 0); }},
};

TEST(HostileFiles, SpecialFilesReadLikeMissingOnesWithoutBlocking) {
    for (const std::string file : {"Veltrano.conf", "init.txt", "languages.txt", "semantics.txt"}) {
        // A missing data file leaves the name out; a missing store, the data.
        const std::string missing = file == "Veltrano.conf" ? "^100$" : "^111$";
        for (const auto& [kind, make] : kSpecialFiles) {
            CScratchFolder folder;
            WriteDataFolder(folder);
            fs::rename(folder.PathOf(file), folder.PathOf(file) + "~");
            ASSERT_TRUE(make(folder.PathOf(file))) << kind;
            EXPECT_EXIT(Report([&] { return Start(folder); }), testing::ExitedWithCode(0), missing)
                << kind << " as " << file;
        }
    }
}

TEST(HostileFiles, HugeLineIsSplitNotHeldWhole) {
    CScratchFolder folder;
    WriteDataFolder(folder);
    // The key that a line after 100 MB of NUL bytes (which are data) mends:
    // the start is then as with no hostile file at all.
    folder.Write("init.txt", "semantics=semantics.txt\nlanguages=none.txt\n");
    fs::resize_file(folder.PathOf("init.txt"), 100 << 20);
    std::ofstream(folder.PathOf("init.txt"), std::ios::app) << "\nlanguages=languages.txt\n";
    EXPECT_EXIT(Report([&] { return Start(folder); }), testing::ExitedWithCode(0), "^11X1$");
}

// Every file and folder in `folder`, with a regular file's bytes.
std::set<std::string> Snapshot(const CScratchFolder& folder) {
    std::set<std::string> entries;
    std::error_code gone;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path(), gone)) {
        const std::string relative = entry.path().string().substr(folder.Path().size());
        entries.insert(relative + (entry.is_regular_file() ? "=" + folder.Read(relative) : "*"));
    }
    return entries;
}

const char* const kFaults[] = {"no fault", "a full disk", "a read-only folder", "a vanished folder",
                               "a folder in the file's place"};

// Strikes the store's folder after the store was opened for the write.
void Strike(const char* fault, const std::string& folder, const std::string& store) {
    constexpr rlimit kFullDisk{64, RLIM_INFINITY};
    if (fault == kFaults[1]) ::setrlimit(RLIMIT_FSIZE, &kFullDisk);
    if (fault == kFaults[2]) ::chmod(folder.c_str(), 0555);
    if (fault == kFaults[3]) fs::remove_all(folder);
    if (fault == kFaults[4] && fs::remove(store)) fs::create_directory(store);
}

// The store's write under each fault. The window tests make the same faults
// strike the save of a name list, except the read-only folder, which binds
// no root.
TEST(HostileFiles, FailedWritesKeepTheOldFileAndLeaveNothing) {
    for (const char* fault : kFaults) {
        CScratchFolder folder;
        WriteDataFolder(folder);
        EXPECT_EXIT(
            Report([&] {
                CFileRegistryStore store(folder.PathOf("Veltrano.conf"));
                store.OpenKey(CRegistryStore::Access::kReadWrite);
                Strike(fault, folder.Path(), folder.PathOf("Veltrano.conf"));
                const std::set<std::string> before = Snapshot(folder);
                const bool written = store.SetValue("DataDir", std::string(100, 'd'));
                return (written ? "written" : "failed") +
                       std::string(written || Snapshot(folder) == before ? "" : ", changed");
            }),
            testing::ExitedWithCode(0), fault == kFaults[0] ? "^written$" : "^failed$")
            << fault;
    }
}

}  // namespace
