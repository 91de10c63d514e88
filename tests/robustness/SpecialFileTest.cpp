// Things that are not readable regular files where a data file is expected:
// folders, FIFOs, devices, dangling links, files the user may not read, and
// paths too long for the system. Each must read like a missing file, at once:
// a FIFO without a writer must not block the program.

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Findings.h"
#include "IsolatedRun.h"
#include "PointedSettings.h"
#include "ScratchFolder.h"
#include "SpecialFiles.h"
#include "language/LanguageTable.h"
#include "semantics/Semantics.h"
#include "settings/FileRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

using namespace std::string_literals;

// A FIFO that blocked would be stopped here and fail its case.
constexpr unsigned kTimeLimitSeconds = 10;

const std::string kInitText = "languages=languages.txt\nsemantics=semantics.txt\n";

// A complete, valid data folder: one culture, one name type, one list.
void WriteDataFolder(const CScratchFolder& folder, const std::string& under = {}) {
    const std::string prefix = under.empty() ? "" : under + "/";
    folder.Write(prefix + "init.txt", kInitText);
    folder.Write(prefix + "languages.txt", "[a]\nx\n");
    folder.Write(prefix + "semantics.txt", "[C]\nl:1:T:^a\n");
}

// The settings of an init file that could not be read: DataDir alone (the
// loaders' lookups add their keys, empty).
void ExpectOnlyDataDir(CFindings& findings, const std::string& dataDir) {
    findings.ExpectEq(SettingsMap["DataDir"], dataDir, "DataDir");
    findings.ExpectEq(SettingsMap["languages"], ""s, "languages");
    findings.ExpectEq(SettingsMap["semantics"], ""s, "semantics");
    findings.ExpectEq(SettingsMap.size(), 3u, "settings entries");
}

// What the program makes of the data folder, checked against the outcome of
// a missing `role` file.
void CheckReadsAsMissing(CFindings& findings, const std::string& folder, const std::string& role) {
    CPointedSettings settings(folder);
    CSemantics semantics;
    const bool loaded = semantics.Load();
    theLanguageTable.Load();
    findings.Expect(loaded, "Load failed");
    if (role == "init.txt") {
        ExpectOnlyDataDir(findings, folder + "/");
    }
    if (role == "init.txt" || role == "semantics.txt") {
        findings.ExpectEq(semantics.GetCultureNames().size(), 0u, "cultures");
    }
    if (role == "languages.txt") {
        findings.ExpectEq(semantics.GetCultureNames(), std::vector<std::string>{"C"}, "cultures");
        findings.ExpectEq(theLanguageTable.m_lists.size(), 0u, "lists");
        findings.ExpectEq(semantics.Generate("C", "T"), ""s, "a name without lists");
    }
}

TEST(SpecialFiles, ReadLikeMissingFilesWithoutBlocking) {
    for (const char* role : {"init.txt", "languages.txt", "semantics.txt"}) {
        for (const CSpecialKind& kind : SpecialKinds()) {
            CScratchFolder folder;
            WriteDataFolder(folder);
            const std::string path = folder.PathOf(role);
            std::filesystem::remove(path);
            if (!kind.make(path)) {
                ADD_FAILURE() << "cannot make " << kind.name << " for " << role;
                continue;
            }
            const CIsolatedRun run = RunIsolated(
                [&](CFindings& findings) { CheckReadsAsMissing(findings, folder.Path(), role); },
                kTimeLimitSeconds);
            EXPECT_TRUE(run.Ok()) << kind.name << " as " << role << ": " << run.Describe();
        }
    }
}

TEST(SpecialFiles, DevicesNamedByTheStoreReadLikeMissingFiles) {
    // The store's values lead straight to a device, or through one as if it
    // were a folder.
    const struct {
        const char* dataDir;
        const char* initFile;
    } cases[] = {{"/dev", "zero"},
                 {"/dev", "null"},
                 {"/dev", "urandom"},
                 {"/dev/zero", "init.txt"},
                 {"/proc/self", "mem"}};
    for (const auto& c : cases) {
        const CIsolatedRun run = RunIsolated(
            [&](CFindings& findings) {
                CPointedSettings settings(c.dataDir, c.initFile);
                CSemantics semantics;
                findings.Expect(semantics.Load(), "Load failed");
                ExpectOnlyDataDir(findings, c.dataDir + "/"s);
                findings.ExpectEq(semantics.GetCultureNames().size(), 0u, "cultures");
            },
            kTimeLimitSeconds);
        EXPECT_TRUE(run.Ok()) << c.dataDir << "/" << c.initFile << ": " << run.Describe();
    }
}

TEST(SpecialFiles, UnreadableFilesReadLikeMissingFiles) {
    for (const char* role : {"init.txt", "languages.txt", "semantics.txt"}) {
        CScratchFolder folder;
        WriteDataFolder(folder);
        ASSERT_EQ(::chmod(folder.PathOf(role).c_str(), 0), 0);
        const CIsolatedRun run = RunIsolated(
            [&](CFindings& findings) {
                // Root reads every file: the check runs as an ordinary user.
                if (BecomeUserDenied(findings, folder.PathOf(role), R_OK)) {
                    CheckReadsAsMissing(findings, folder.Path(), role);
                }
            },
            kTimeLimitSeconds);
        if (run.Skipped()) {
            GTEST_SKIP() << run.message;
        }
        EXPECT_TRUE(run.Ok()) << role << " without read permission: " << run.Describe();
    }
}

TEST(SpecialFiles, DataFolderPathOf4095BytesReadsNothing) {
    // The longest value the store holds, stored and read back through the
    // file store; the init file's path is then longer than any path can be.
    CScratchFolder folder;
    const std::string dataDir = "/" + std::string(4094, 'd');
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CFileRegistryStore store(folder.Write("Veltrano.conf", ""));
            UseRegistryStore(&store);
            findings.Expect(WriteRegistryValue("DataDir", dataDir), "DataDir not stored");
            findings.Expect(WriteRegistryValue("InitFile", "init.txt"), "InitFile not stored");
            CSemantics semantics;
            findings.Expect(semantics.Load(), "Load failed");
            findings.ExpectEq(SettingsMap["DataDir"], dataDir + "/", "DataDir");
            findings.ExpectEq(SettingsMap.size(), 2u, "entries (DataDir and the semantics key)");
            findings.ExpectEq(semantics.GetCultureNames().size(), 0u, "cultures");
            UseRegistryStore(nullptr);
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
}

TEST(SpecialFiles, DataFolderPathNearTheLimitStillWorks) {
    // A real folder so deep that the paths of its data files are 4095 bytes
    // long, the most a path may be.
    CScratchFolder folder;
    const std::size_t folderLength = 4095 - std::strlen("/languages.txt");
    std::string relative;
    while (folder.Path().size() + 1 + relative.size() + 1 + 200 + 1 < folderLength) {
        relative += std::string(200, 'n') + "/";
    }
    relative += std::string(folderLength - folder.Path().size() - 1 - relative.size(), 'm');
    std::error_code error;
    std::filesystem::create_directories(folder.PathOf(relative), error);
    ASSERT_FALSE(error) << error.message();
    WriteDataFolder(folder, relative);
    const std::string dataDir = folder.PathOf(relative);
    ASSERT_EQ(dataDir.size(), folderLength);

    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CPointedSettings settings(dataDir);
            CSemantics semantics;
            findings.Expect(semantics.Load(), "Load failed");
            findings.ExpectEq(semantics.Generate("C", "T"), "X"s, "a name");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << dataDir.size() << "-byte folder: " << run.Describe();
}

}  // namespace
