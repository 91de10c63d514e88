// Saving a name list (the desktop program's save command) when the system
// says no, in the cases the window tests cannot reach: as root, folder
// permissions do not bind, so a child gives root up first. The earlier file
// stays whole, the save reports false, and no temporary file remains.

#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Findings.h"
#include "IsolatedRun.h"
#include "ScratchFolder.h"
#include "ui/SaveFile.h"

namespace {

constexpr unsigned kTimeLimitSeconds = 30;
const std::string kOldList = "alte Liste\r\nbleibt";

QString AsQString(const std::string& path) { return QString::fromStdString(path); }

TEST(SaveFaults, ReadOnlyFolderKeepsTheOldList) {
    CScratchFolder folder;
    const std::string path = folder.Write("lists/names.txt", kOldList);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.PathOf("lists").c_str(), 0555), 0);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            if (BecomeUserDenied(findings, folder.PathOf("lists"), W_OK)) {
                findings.Expect(!SaveBytesAtomically(AsQString(path), "Neue\r\nListe"),
                                "the save succeeded");
            }
        },
        kTimeLimitSeconds);
    if (run.Skipped()) {
        GTEST_SKIP() << run.message;
    }
    EXPECT_TRUE(run.Ok()) << run.Describe();
    EXPECT_EQ(folder.Read("lists/names.txt"), kOldList);
    EXPECT_EQ(folder.Entries("lists"), std::vector<std::string>{"names.txt"});
}

TEST(SaveFaults, FullDiskInTheMiddleOfALongList) {
    // Megabytes of names: the disk fills while the list is being written,
    // long before the final flush.
    CScratchFolder folder;
    const std::string path = folder.Write("names.txt", kOldList);
    std::string names;
    while (names.size() < (4u << 20)) {
        names += "Aelandil\r\n";
    }
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            if (LimitFileSize(findings, 1u << 20)) {
                findings.Expect(!SaveBytesAtomically(AsQString(path), names), "the save succeeded");
            }
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    EXPECT_EQ(folder.Read("names.txt"), kOldList);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"names.txt"});
}

TEST(SaveFaults, PlacesThatCannotHoldAListFailCleanly) {
    const struct {
        const char* name;
        const char* target;  // relative to the scratch folder
    } cases[] = {
        {"a folder in the list's place", "taken"},
        {"a file in the folder's place", "file/names.txt"},
        {"a folder that vanished", "gone/names.txt"},
    };
    for (const auto& c : cases) {
        CScratchFolder folder;
        folder.Write("taken/inside.txt", "x");
        folder.Write("file", "not a folder");
        const std::vector<std::string> before = folder.Entries();
        const CIsolatedRun run = RunIsolated(
            [&](CFindings& findings) {
                findings.Expect(
                    !SaveBytesAtomically(AsQString(folder.PathOf(c.target)), "Name\r\n"),
                    "the save succeeded");
            },
            kTimeLimitSeconds);
        EXPECT_TRUE(run.Ok()) << c.name << ": " << run.Describe();
        EXPECT_EQ(folder.Entries(), before) << c.name;
        EXPECT_EQ(folder.Entries("taken"), std::vector<std::string>{"inside.txt"}) << c.name;
        EXPECT_EQ(folder.Read("file"), "not a folder") << c.name;
    }
}

TEST(SaveFaults, FifoInTheListsPlaceDoesNotBlock) {
    // Nobody reads the FIFO: writing into it would wait for ever. The save
    // replaces it, as it replaces any file the user chose to overwrite.
    CScratchFolder folder;
    const std::string path = folder.PathOf("names.txt");
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            findings.Expect(SaveBytesAtomically(AsQString(path), "Name\r\n"), "the save failed");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    EXPECT_EQ(folder.Read("names.txt"), "Name\r\n");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"names.txt"});
}

}  // namespace
