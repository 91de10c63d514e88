// The three data files as a careless editor, a full disk or a hostile user
// may leave them. Every case is read in a child process: nothing may crash,
// hang or take memory out of proportion to the file, and the outcome must be
// the one the program gives for an unreadable or a malformed file.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Findings.h"
#include "IsolatedRun.h"
#include "PointedSettings.h"
#include "ScratchFolder.h"
#include "language/LanguageTable.h"
#include "semantics/Semantics.h"
#include "settings/Settings.h"

namespace {

using namespace std::string_literals;

// Generous for a loaded machine and the sanitizer build, yet below the test's
// own timeout, so that a hang fails here with a clear message.
constexpr unsigned kTimeLimitSeconds = 50;
constexpr std::size_t kHundredMegabytes = 100u << 20;
constexpr std::size_t kMillion = 1000000;

const std::string kInitText = "languages=languages.txt\nsemantics=semantics.txt\n";

// Peak memory of a child against the bytes it read: `factor` times the input
// plus room for the program itself.
void ExpectMemoryWithin(const CIsolatedRun& run, std::size_t inputBytes, double factor,
                        const char* what) {
    // Printed for the record: how far below its bound each case stays.
    std::printf("%s: %s for %zu KiB of input\n", what, run.Describe().c_str(), inputBytes / 1024);
    if (!MemoryIsMeasurable()) {
        return;
    }
    constexpr double kProgramKb = 16 * 1024;
    EXPECT_LE(static_cast<double>(run.peakGrowthKb), factor * inputBytes / 1024 + kProgramKb)
        << what << ": " << run.Describe() << " for " << inputBytes / 1024 << " KiB of input";
}

// The program's start on a data folder: the settings, then the semantics file,
// whose first pattern reads the language file.
struct CProgramStart {
    explicit CProgramStart(const std::string& dataDir, const std::string& initFile = "init.txt")
        : settings(dataDir, initFile) {
        loaded = semantics.Load();
    }
    CPointedSettings settings;
    CSemantics semantics;
    bool loaded = false;
};

TEST(HostileDataFiles, NulBytesAreDataInEveryFile) {
    CScratchFolder folder;
    folder.Write("init.txt", kInitText + "k\0ey=v\0al\n"s);
    folder.Write("languages.txt", "[li\0st]\nfr\0ag\n$\0\n"s);
    folder.Write("semantics.txt", "[Cul\0ture]\nla\0bel:1\0:Ty\0pe:li\0st\n"s);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CProgramStart start(folder.Path());
            findings.ExpectEq(SettingsMap["k\0ey"s], "v\0al"s, "init entry with NUL bytes");
            findings.Expect(start.loaded, "the semantics file did not load");
            const CFragmentList* list = theLanguageTable.Find("li\0st"s);
            findings.Expect(list != nullptr, "the list named with a NUL byte is missing");
            if (list != nullptr) {
                findings.ExpectEq(list->m_fragments.size(), 2u, "fragments of the list");
                if (list->m_fragments.size() == 2) {
                    findings.ExpectEq(list->m_fragments[0], "fr\0ag"s, "first fragment");
                    findings.ExpectEq(list->m_fragments[1], "\0"s, "escaped NUL fragment");
                }
            }
            findings.ExpectEq(start.semantics.GetCultureNames(),
                              std::vector<std::string>{"Cul\0ture"s}, "culture names");
            findings.ExpectEq(start.semantics.GetNameTypeNames("Cul\0ture"s),
                              std::vector<std::string>{"Ty\0pe"s}, "name types");
            const std::string name = start.semantics.Generate("Cul\0ture"s, "Ty\0pe"s);
            findings.Expect(name == "Fr\0ag"s || name == "fr\0ag"s || name == "\0"s,
                            "the name is no fragment of its list");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
}

TEST(HostileDataFiles, PathWithNulByteNamesNoFile) {
    // No file name holds a NUL byte. Cutting the path there would open a file
    // the init file does not name.
    CScratchFolder folder;
    folder.Write("init.txt", "languages=languages.txt\0.bak\nsemantics=semantics.txt\0.bak\n"s);
    folder.Write("languages.txt", "[a]\nx\n");
    folder.Write("semantics.txt", "[C]\nl:1:t:a\n");
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CProgramStart start(folder.Path());
            findings.Expect(start.loaded, "Load failed");
            findings.ExpectEq(start.semantics.GetCultureNames().size(), 0u,
                              "cultures read from semantics.txt");
            theLanguageTable.Load();
            findings.ExpectEq(theLanguageTable.m_lists.size(), 0u, "lists read from languages.txt");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
}

TEST(HostileDataFiles, HundredMegabyteLineInInitFileIsReadInPieces) {
    CScratchFolder folder;
    const std::string path =
        WriteLong(folder, "init.txt", "k=", 'v', kHundredMegabytes, "\nlanguages=after.txt\n");
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CPointedSettings settings(folder.Path());
            LoadSettings();
            // The first 999 bytes make the entry; the pieces after it hold no
            // '=' and are skipped.
            findings.ExpectEq(SettingsMap["k"], std::string(997, 'v'), "the long entry");
            findings.ExpectEq(SettingsMap["languages"], "after.txt"s, "the line after it");
            findings.ExpectEq(SettingsMap.size(), 3u, "number of entries");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    // The reader holds a buffer, never the line.
    ExpectMemoryWithin(run, 0, 0, "init file with a 100 MB line");
}

TEST(HostileDataFiles, HundredMegabyteLineInLanguageFileBecomesFragments) {
    CScratchFolder folder;
    folder.Write("init.txt", kInitText);
    const std::string path =
        WriteLong(folder, "languages.txt", "[long]\n", 'f', kHundredMegabytes, "\n[after]\nx\n");
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CPointedSettings settings(folder.Path());
            LoadSettings();
            findings.Expect(theLanguageTable.Load(), "Load failed");
            const CFragmentList* list = theLanguageTable.Find("long");
            const CFragmentList* after = theLanguageTable.Find("after");
            findings.Expect(list != nullptr && after != nullptr, "a list is missing");
            if (list != nullptr && after != nullptr) {
                const std::size_t pieces = (kHundredMegabytes + 998) / 999;
                findings.ExpectEq(list->m_fragments.size(), pieces, "fragments of the line");
                findings.ExpectEq(list->m_fragments.front(), std::string(999, 'f'), "a piece");
                findings.ExpectEq(after->m_fragments, std::vector<std::string>{"x"},
                                  "the list after the line");
            }
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    // The fragments themselves, and the bytes of a section gathered before
    // its list is made.
    ExpectMemoryWithin(run, FileSize(path), 3, "language file with a 100 MB line");
}

TEST(HostileDataFiles, HundredMegabyteLineInSemanticsFileEndsLoadAsMalformed) {
    CScratchFolder folder;
    folder.Write("init.txt", kInitText);
    folder.Write("languages.txt", "[a]\nx\n");
    // The first piece is a data line; the second holds no ':' and is a
    // malformed line, which ends the load.
    const std::string path = WriteLong(folder, "semantics.txt", "[C]\nfirst:1:T:a\nlong:1:T:", 'a',
                                       kHundredMegabytes, "\nlast:1:T:a\n");
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CProgramStart start(folder.Path());
            findings.Expect(!start.loaded, "Load succeeded");
            findings.ExpectEq(start.semantics.GetCultureNames(), std::vector<std::string>{"C"},
                              "cultures");
            if (start.loaded || start.semantics.m_cultures.count("C") == 0) {
                return;
            }
            const CNameType& type = start.semantics.m_cultures.at("C").m_nameTypes.at("T");
            findings.ExpectEq(type.m_patterns.size(), 2u, "patterns before the malformed piece");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    ExpectMemoryWithin(run, 0, 0, "semantics file with a 100 MB line");
}

TEST(HostileDataFiles, LongLineOfPatternsInSemanticsFileIsReadWhole) {
    // Every 999-byte piece of this line holds three ':' and so is a pattern
    // of its own: the whole line is read. (20 MB: its patterns take several
    // times that.)
    constexpr std::size_t kSize = 20u << 20;
    CScratchFolder folder;
    folder.Write("init.txt", kInitText);
    folder.Write("languages.txt", "[a]\nx\n");
    const std::string unit = "l:1:T:a,";
    std::size_t written = 0;
    const std::string path = folder.WriteStreamed("semantics.txt", [&](std::string& piece) {
        if (written == 0) {
            piece = "[C]\n";
        }
        while (piece.size() < (1u << 20) && written < kSize) {
            piece += unit;
            written += unit.size();
        }
        return !piece.empty();
    });
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CProgramStart start(folder.Path());
            findings.Expect(start.loaded, "Load failed");
            const std::string name = start.semantics.Generate("C", "T");
            findings.Expect(name.find_first_not_of('x') == std::string::npos, "a stray piece");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    // Eight bytes make a list name, which the pattern keeps as a string and
    // as a looked-up position.
    ExpectMemoryWithin(run, FileSize(path), 8, "semantics file of one 20 MB line of patterns");
}

TEST(HostileDataFiles, MillionSectionsInLanguageFile) {
    CScratchFolder folder;
    folder.Write("init.txt", kInitText);
    const std::string path =
        WriteNumbered(folder, "languages.txt", "[list%]\nfragment\n", kMillion);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CPointedSettings settings(folder.Path());
            LoadSettings();
            findings.Expect(theLanguageTable.Load(), "Load failed");
            findings.ExpectEq(theLanguageTable.m_lists.size(), kMillion, "lists");
            findings.ExpectEq(theLanguageTable.MakeWord({"^list999999", "list0"}),
                              "Fragmentfragment"s, "a word from the first and last list");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    ExpectMemoryWithin(run, FileSize(path), 24, "language file with 10^6 sections");
}

TEST(HostileDataFiles, MillionSectionsInSemanticsFile) {
    CScratchFolder folder;
    folder.Write("init.txt", kInitText);
    folder.Write("languages.txt", "[a]\nx\n");
    const std::string path =
        WriteNumbered(folder, "semantics.txt", "[Culture%]\nl:1:T:a\n[Empty%]\n", kMillion);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CProgramStart start(folder.Path());
            findings.Expect(start.loaded, "Load failed");
            findings.ExpectEq(start.semantics.GetCultureNames().size(), kMillion, "cultures");
            findings.ExpectEq(start.semantics.Generate("Culture999999", "T"), "x"s, "a name");
            findings.ExpectEq(start.semantics.Generate("Empty1", "T"), ""s,
                              "a name from a culture without patterns");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    ExpectMemoryWithin(run, FileSize(path), 40, "semantics file with 10^6 cultures");
}

TEST(HostileDataFiles, MillionEntriesInInitFile) {
    CScratchFolder folder;
    const std::string path =
        WriteNumbered(folder, "init.txt", "key%=value%\n[section%]\n", kMillion);
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CPointedSettings settings(folder.Path());
            LoadSettings();
            findings.ExpectEq(SettingsMap.size(), kMillion + 1, "entries");
            findings.ExpectEq(SettingsMap["key999999"], "value999999"s, "the last entry");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    ExpectMemoryWithin(run, FileSize(path), 12, "init file with 10^6 entries");
}

TEST(HostileDataFiles, SemanticsNamingHundredThousandLists) {
    constexpr std::size_t kLists = 100000;
    constexpr std::size_t kNamesPerLine = 120;
    CScratchFolder folder;
    folder.Write("init.txt", kInitText);
    const std::string languages = WriteNumbered(folder, "languages.txt", "[L%]\nx\n", kLists);
    std::size_t next = 0;
    const std::string semantics = folder.WriteStreamed("semantics.txt", [&](std::string& piece) {
        if (next == 0) {
            piece = "[C]\n";
        }
        while (piece.size() < (1u << 20) && next < kLists) {
            piece += "p:1:T:";
            for (std::size_t i = 0; i < kNamesPerLine && next < kLists; ++i, ++next) {
                piece += (i == 0 ? "^L" : ",L") + std::to_string(next);
            }
            piece += "\n";
        }
        // A line of nothing but commas names the empty list 999 times.
        if (next == kLists && !piece.empty()) {
            piece += "q:1:T:" + std::string(993, ',') + "\n";
        }
        return !piece.empty();
    });
    ASSERT_LT(kNamesPerLine * 8, 999u) << "a pattern line must not be cut";
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CProgramStart start(folder.Path());
            findings.Expect(start.loaded, "Load failed");
            const CNameType& type = start.semantics.m_cultures["C"].m_nameTypes["T"];
            const std::size_t named =
                std::accumulate(type.m_patterns.begin(), type.m_patterns.end(), std::size_t{0},
                                [](std::size_t sum, const CNamePattern& pattern) {
                                    return sum + pattern.m_listNames.size();
                                });
            findings.ExpectEq(named, kLists + 994, "list names in all patterns");
            for (int i = 0; i < 1000; ++i) {
                const std::string name = start.semantics.Generate("C", "T");
                const bool fromLists = name.size() <= kNamesPerLine && !name.empty() &&
                                       name[0] == 'X' &&
                                       name.find_first_not_of('x', 1) == std::string::npos;
                if (!fromLists && !name.empty()) {
                    findings.Add("a name is not made of its lists' fragments: " + name);
                    break;
                }
            }
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
    ExpectMemoryWithin(run, FileSize(languages) + FileSize(semantics), 24,
                       "semantics file naming 10^5 lists");
}

TEST(HostileDataFiles, InitFileNamingItselfIsAMalformedDataFile) {
    CScratchFolder folder;
    folder.Write("init.txt", "languages=init.txt\nsemantics=init.txt\n");
    const CIsolatedRun run = RunIsolated(
        [&](CFindings& findings) {
            CProgramStart start(folder.Path());
            // Its first line is a fragment before any list and a data line
            // without ':', so both files are malformed.
            findings.Expect(!start.loaded, "the init file loaded as a semantics file");
            findings.ExpectEq(start.semantics.GetCultureNames().size(), 0u, "cultures");
            findings.ExpectEq(theLanguageTable.m_lists.size(), 0u, "lists");
            CLanguageTable table;
            findings.Expect(!table.Read(folder.PathOf("init.txt")),
                            "the init file read as a language file");
        },
        kTimeLimitSeconds);
    EXPECT_TRUE(run.Ok()) << run.Describe();
}

}  // namespace
