#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliRunner.h"
#include "ScratchFolder.h"

namespace {

const std::string kCheckDir = VELTRANO_CLI_DATA_DIR "/check/";

// Each folder of tests/cli/data/check holds data with exactly one problem.
struct CCheckCase {
    const char* folder;
    // The whole finding after the folder's path: "file:line: Kind: ..." up
    // to and including the part that names the problem.
    const char* finding;
    int exitCode;
};

const CCheckCase kCases[] = {
    {"undefined-list",
     "semantics.txt:3: Warnung: Das Muster nennt die Fragmentliste „nirgends“, die die "
     "Sprachdatei nicht kennt.",
     1},
    {"list-without-fragments",
     "semantics.txt:3: Warnung: Das Muster nutzt die Fragmentliste „leer“", 1},
    {"empty-list-name", "semantics.txt:2: Warnung: Das Muster enthält einen leeren Listennamen", 1},
    {"weight-not-a-number",
     "semantics.txt:2: Warnung: Das Gewicht „7abc“ ist keine reine Zahl; es gilt 7.", 1},
    {"weight-with-blank",
     "semantics.txt:2: Warnung: Das Gewicht „ 7“ ist keine reine Zahl; es gilt 7.", 1},
    {"weight-negative",
     "semantics.txt:3: Warnung: Das Gewicht „-3“ ist negativ: das Muster wird nie gewählt.", 1},
    {"weight-out-of-range",
     "semantics.txt:2: Warnung: Das Gewicht „99999999999“ liegt außerhalb von -2147483648 bis "
     "2147483647; es gilt 2147483647.",
     1},
    {"semantics-header-without-bracket",
     "semantics.txt:2: Warnung: Dem Abschnittskopf fehlt das „]“; sein letztes Zeichen fällt "
     "weg: der Abschnitt heißt „Testvol“.",
     1},
    {"semantics-header-trailing-blank",
     "semantics.txt:1: Warnung: Zeichen nach dem „]“: nur das letzte Zeichen der Zeile fällt "
     "weg, der Abschnitt heißt „Testvolk]“.",
     1},
    {"language-header-without-bracket",
     "languages.txt:13: Warnung: Dem Abschnittskopf fehlt das „]“; sein letztes Zeichen fällt "
     "weg: der Abschnitt heißt „extr“.",
     1},
    {"language-header-trailing-chars",
     "languages.txt:13: Warnung: Zeichen nach dem „]“: nur das letzte Zeichen der Zeile fällt "
     "weg, der Abschnitt heißt „extra]“.",
     1},
    {"section-replaced",
     "languages.txt:13: Warnung: Der Abschnitt „start“ ersetzt den gleichnamigen aus Zeile 1", 1},
    {"language-line-cut", "languages.txt:4: Warnung: Die Zeile ist länger als 999 Zeichen", 1},
    {"init-line-cut", "init.txt:1: Warnung: Die Zeile ist länger als 999 Zeichen", 1},
    {"init-without-languages",
     "init.txt: Warnung: Die Init-Datei nennt keine Sprachdatei (Schlüssel „languages“).", 1},
    {"init-without-semantics",
     "init.txt: Warnung: Die Init-Datei nennt keine Semantikdatei (Schlüssel „semantics“).", 1},
    {"init-key-with-blank",
     "init.txt: Warnung: Die Init-Datei nennt keine Sprachdatei (Schlüssel „languages“). Zeile 1 "
     "schreibt „languages “",
     1},
    {"missing-language-file", "init.txt:2: Warnung: Die Sprachdatei", 1},
    {"missing-semantics-file", "init.txt:2: Warnung: Die Semantikdatei", 1},
    {"culture-only-empty-names",
     "semantics.txt:4: Warnung: Alle Namenstypen der Kultur „Stille“ ergeben nur leere Namen.", 1},
    {"fragment-before-header", "languages.txt:2: Fehler: Fragment vor dem ersten Abschnittskopf",
     2},
    {"data-before-section", "semantics.txt:2: Fehler: Datenzeile vor dem ersten Abschnittskopf", 2},
    {"data-in-unnamed-section",
     "semantics.txt:4: Fehler: Datenzeile in einem Abschnitt ohne Namen (Kopf in Zeile 3)", 2},
    {"too-few-colons", "semantics.txt:3: Fehler: Datenzeile mit weniger als drei „:“", 2},
};

class CliCheck : public ::testing::Test {
  protected:
    CScratchFolder config;
};

TEST_F(CliCheck, EachProblemIsTheOnlyFindingWithItsLine) {
    for (const CCheckCase& row : kCases) {
        SCOPED_TRACE(row.folder);
        const std::string folder = kCheckDir + row.folder;
        const CCliRun run =
            RunCliProgram({"--check", "--init", folder + "/init.txt"}, config.Path());
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.err, "");
        const std::vector<std::string> lines = SplitLines(run.out);
        ASSERT_EQ(lines.size(), 1u) << run.out;
        EXPECT_EQ(lines[0].rfind(folder + "/" + row.finding, 0), 0u)
            << lines[0] << "\nexpected to begin with\n"
            << folder + "/" + row.finding;
    }
}

TEST_F(CliCheck, ErrorStopsBeforeLaterProblemsOfThatFile) {
    // Line 4 has a negative weight, but loading has stopped at line 3.
    const CCliRun run =
        RunCliProgram({"--check", "--init", kCheckDir + "too-few-colons/init.txt"}, config.Path());
    EXPECT_EQ(run.out.find(":4:"), std::string::npos) << run.out;
}

TEST_F(CliCheck, SampleDataIsClean) {
    const CCliRun run =
        RunCliProgram({"--check", "--init", VELTRANO_SAMPLE_DATA_DIR "/init.txt"}, config.Path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliCheck, TestDataIsClean) {
    const CCliRun run =
        RunCliProgram({"-c", "-i", VELTRANO_CLI_DATA_DIR "/good/init.txt"}, config.Path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
}

TEST_F(CliCheck, RelativeInitPathKeepsTheFoldersAsWritten) {
    // Data files are shown beside the init file as the user named it, not
    // by the absolute data directory the settings hold.
    const std::string init = config.Write("data/init.txt", "languages=l.txt\nsemantics=s.txt\n");
    config.Write("data/l.txt", "[a]\nx\n");
    config.Write("data/s.txt", "[K]\np:1:T:a,b\n");
    const CCliRun run = RunCliProgram({"--check", "--init", init}, config.Path());
    EXPECT_EQ(run.out, config.Path() +
                           "/data/s.txt:2: Warnung: Das Muster nennt die "
                           "Fragmentliste „b“, die die Sprachdatei nicht kennt.\n");
}

TEST_F(CliCheck, ErrorsAndWarningsTogetherExitTwoInFileOrder) {
    const std::string init =
        config.Write("init.txt", "languages=l.txt\nsemantics=s.txt\n# " + std::string(1200, 'x'));
    config.Write("l.txt", "[a\nx\n");
    config.Write("s.txt", "[K]\np:1:T\n");
    const CCliRun run = RunCliProgram({"--check", "--init", init}, config.Path());
    EXPECT_EQ(run.exitCode, 2);
    const std::vector<std::string> lines = SplitLines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0].rfind(init + ":3: Warnung:", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind(config.Path() + "/l.txt:1: Warnung:", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind(config.Path() + "/s.txt:2: Fehler:", 0), 0u) << lines[2];
}

TEST_F(CliCheck, MissingInitFileIsAnErrorOnStderr) {
    const CCliRun run =
        RunCliProgram({"--check", "--init", config.Path() + "/nirgends.txt"}, config.Path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("fehlt oder ist nicht lesbar"), std::string::npos) << run.err;
}

}  // namespace
