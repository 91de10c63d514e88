#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliRunner.h"
#include "ScratchFolder.h"
#include "language/Random.h"
#include "semantics/Semantics.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

const std::string kGoodDir = VELTRANO_CLI_DATA_DIR "/good";
const std::string kGoodInit = kGoodDir + "/init.txt";
const std::string kSampleDir = VELTRANO_SAMPLE_DATA_DIR;

class CliProgram : public ::testing::Test {
  protected:
    CCliRun Run(const std::vector<std::string>& arguments) const {
        return RunCliProgram(arguments, config.Path());
    }
    CCliRun RunGood(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--init", kGoodInit});
        return Run(arguments);
    }
    std::string WriteStore(const std::string& dataDir) const {
        return config.Write("Brannock/Veltrano.conf",
                            "DataDir=" + dataDir + "\nInitFile=init.txt\n");
    }

    CScratchFolder config;
};

std::set<std::string> AsSet(const std::vector<std::string>& lines) {
    return {lines.begin(), lines.end()};
}

// --- Seeds ---------------------------------------------------------------

// The sample data read by the core in this process, as the desktop program
// reads it.
class SampleSemantics {
  public:
    SampleSemantics() {
        UseRegistryStore(&m_store);
        WriteRegistryValue("DataDir", kSampleDir);
        WriteRegistryValue("InitFile", "init.txt");
        // Made only now, so that its construction reads the settings just
        // written.
        m_semantics = std::make_unique<CSemantics>();
        m_loaded = m_semantics->Load();
    }
    SampleSemantics(const SampleSemantics&) = delete;
    SampleSemantics& operator=(const SampleSemantics&) = delete;
    ~SampleSemantics() { UseRegistryStore(nullptr); }

    bool Loaded() const { return m_loaded; }
    CSemantics& Semantics() { return *m_semantics; }

    // What the core yields after srand(seed), one name a line.
    std::string Names(const std::string& culture, const std::string& nameType, unsigned seed,
                      int count) {
        RandomInRange(0, 0);
        std::srand(seed);
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += m_semantics->Generate(culture, nameType);
            text += '\n';
        }
        return text;
    }

  private:
    CMemoryRegistryStore m_store;
    std::unique_ptr<CSemantics> m_semantics;
    bool m_loaded = false;
};

TEST_F(CliProgram, SeedGivesTheCoresOwnDrawsForEveryNameType) {
    SampleSemantics sample;
    ASSERT_TRUE(sample.Loaded());
    ASSERT_FALSE(sample.Semantics().GetCultureNames().empty());
    for (const std::string& culture : sample.Semantics().GetCultureNames()) {
        for (const std::string& nameType : sample.Semantics().GetNameTypeNames(culture)) {
            SCOPED_TRACE(culture);
            SCOPED_TRACE(nameType);
            const CCliRun run = Run({"--init", kSampleDir + "/init.txt", "--seed", "1234", "-n",
                                     "50", culture, nameType});
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_EQ(run.out, sample.Names(culture, nameType, 1234, 50));
        }
    }
}

TEST_F(CliProgram, SeedAtTheEndsOfItsRangeMatchesTheCore) {
    SampleSemantics sample;
    ASSERT_TRUE(sample.Loaded());
    const std::string culture = sample.Semantics().GetCultureNames().front();
    const std::string nameType = sample.Semantics().GetNameTypeNames(culture).front();
    for (const unsigned seed : {0u, 1u, 4294967295u}) {
        SCOPED_TRACE(seed);
        const CCliRun run = Run({"-i", kSampleDir + "/init.txt", "-s", std::to_string(seed), "-n",
                                 "20", culture, nameType});
        EXPECT_EQ(run.out, sample.Names(culture, nameType, seed, 20));
    }
}

TEST_F(CliProgram, SameSeedSameNamesOtherSeedOtherNames) {
    const CCliRun first = RunGood({"-s", "7", "-n", "40", "Testvolk", "Name"});
    const CCliRun again = RunGood({"-s", "7", "-n", "40", "Testvolk", "Name"});
    const CCliRun other = RunGood({"-s", "8", "-n", "40", "Testvolk", "Name"});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(SplitLines(first.out).size(), 40u);
    EXPECT_EQ(first.out, again.out);
    EXPECT_NE(first.out, other.out);
}

// --- Output --------------------------------------------------------------

TEST_F(CliProgram, OneNameByDefaultEachEndedByLf) {
    EXPECT_EQ(RunGood({"Testvolk", "Kurz"}).out, "X\n");
    EXPECT_EQ(RunGood({"Testvolk", "Kurz", "-n", "3"}).out, "X\nX\nX\n");
    EXPECT_EQ(RunGood({"Testvolk", "Kurz", "-n", "0"}).out, "");
}

TEST_F(CliProgram, CrlfJoinsLikeTheSavedList) {
    EXPECT_EQ(RunGood({"--crlf", "Testvolk", "Kurz", "-n", "3"}).out, "X\r\nX\r\nX");
    EXPECT_EQ(RunGood({"--crlf", "Testvolk", "Kurz"}).out, "X");
}

TEST_F(CliProgram, NamesAreWrittenByteForByte) {
    // A lone CR is data; only the CR of a CR LF pair ends a line.
    const std::string bytes = std::string("\xE9t\0e\rx", 6);
    const std::string init = config.Write("d/init.txt", "languages=l.txt\nsemantics=s.txt\n");
    config.Write("d/l.txt", "[a]\n" + bytes + "\n");
    config.Write("d/s.txt", "[K]\np:1:T:a\n");
    const CCliRun run = Run({"--init", init, "K", "T"});
    EXPECT_EQ(run.out, bytes + "\n");
}

TEST_F(CliProgram, WriteFailureIsReported) {
    const CCliRun run = RunCliProgram({"--init", kGoodInit, "Testvolk", "Name", "-n", "1000000"},
                                      config.Path(), "/dev/full");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Die Ausgabe lässt sich nicht schreiben"), std::string::npos) << run.err;
}

TEST_F(CliProgram, DoubleDashLetsACultureBeginWithAMinus) {
    const std::string init = config.Write("d/init.txt", "languages=l.txt\nsemantics=s.txt\n");
    config.Write("d/l.txt", "[a]\nq\n");
    config.Write("d/s.txt", "[-n]\np:1:-T:a\n");
    const CCliRun run = Run({"--init", init, "--", "-n", "-T"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "q\n");
}

// --- Listing -------------------------------------------------------------

TEST_F(CliProgram, ListGivesCulturesThenNameTypesInByteOrder) {
    EXPECT_EQ(RunGood({"--list"}).out, "Nachbarn\nTestvolk\n");
    EXPECT_EQ(RunGood({"-l", "Testvolk"}).out, "Doppel\nKurz\nName\n");

    const std::string init = config.Write("d/init.txt", "languages=l.txt\nsemantics=s.txt\n");
    config.Write("d/l.txt", "[a]\nq\n");
    config.Write("d/s.txt", "[b]\np:1:T:a\n[\xC3\xA4]\np:1:T:a\n[B]\np:1:T:a\n[a]\np:1:T:a\n");
    EXPECT_EQ(Run({"--init", init, "--list"}).out, "B\na\nb\n\xC3\xA4\n");
}

TEST_F(CliProgram, UnknownCultureOrNameTypeNamesTheKnownOnes) {
    const CCliRun culture = RunGood({"Elfen", "Name"});
    EXPECT_EQ(culture.exitCode, 1);
    EXPECT_EQ(culture.out, "");
    EXPECT_NE(culture.err.find("„Elfen“"), std::string::npos) << culture.err;
    EXPECT_NE(culture.err.find("\n  Nachbarn\n  Testvolk\n"), std::string::npos) << culture.err;

    const CCliRun nameType = RunGood({"Testvolk", "name"});
    EXPECT_EQ(nameType.exitCode, 1);
    EXPECT_EQ(nameType.out, "");
    EXPECT_NE(nameType.err.find("\n  Doppel\n  Kurz\n  Name\n"), std::string::npos) << nameType.err;

    const CCliRun listed = RunGood({"--list", "Elfen"});
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_EQ(listed.out, "");
    EXPECT_EQ(listed.err, culture.err);
}

TEST_F(CliProgram, UnknownCultureInDataWithoutCulturesSaysSo) {
    const std::string init = config.Write("d/init.txt", "languages=l.txt\nsemantics=s.txt\n");
    config.Write("d/l.txt", "[a]\nq\n");
    config.Write("d/s.txt", "# noch leer\n");
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--init", init, "Elfen", "Name"}, {"--init", init, "--list", "Elfen"}}) {
        const CCliRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "veltrano-cli: Unbekannte Kultur „Elfen“. Die Daten enthalten keine Kultur.\n");
    }
}

// --- Settings: the store or --init ---------------------------------------

TEST_F(CliProgram, WithoutInitTheStoreNamesTheData) {
    WriteStore(kGoodDir);
    const CCliRun run = Run({"--list"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Nachbarn\nTestvolk\n");
}

// A user who runs the command-line tool before the desktop program gets the
// store the desktop program would make.
TEST_F(CliProgram, FirstRunCreatesTheStoreAtTheBundledData) {
    const CCliRun run = Run({"--list"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Waldelben\n"), std::string::npos) << run.out;
    const std::filesystem::path bundled =
        std::filesystem::path(VELTRANO_CLI_PATH).parent_path().parent_path() / "share/veltrano";
    EXPECT_EQ(config.Read("Brannock/Veltrano.conf"),
              "DataDir=" + std::filesystem::canonical(bundled).string() + "\nInitFile=init.txt\n");
}

TEST_F(CliProgram, StoreThatCannotBeMadeIsNamedInTheError) {
    std::filesystem::create_directories(config.PathOf("Brannock/Veltrano.conf"));
    const CCliRun run = Run({"Testvolk", "Name"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(config.Path() + "/Brannock/Veltrano.conf"), std::string::npos)
        << run.err;
}

// The core reads the store once as the program starts, before any option is
// seen; with --init nothing of it is used, and nothing is written.
TEST_F(CliProgram, InitNeitherUsesNorWritesTheStore) {
    const std::string store = WriteStore(kGoodDir);
    const std::string before = ReadFile(store);
    const std::string init = config.Write("d/init.txt", "languages=l.txt\nsemantics=s.txt\n");
    config.Write("d/l.txt", "[a]\nq\n");
    config.Write("d/s.txt", "[Andere]\np:1:T:a\n");

    const CCliRun run = Run({"--init", init, "--list"});
    EXPECT_EQ(run.out, "Andere\n");
    EXPECT_EQ(ReadFile(store), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config.Path() + "/Brannock"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(CliProgram, InitFileDoesNotInheritKeysOfTheStoresInitFile) {
    // The store's init file names a semantics file; this one does not, and a
    // semantics.txt lies beside it that only a leaked key would reach.
    WriteStore(kGoodDir);
    const std::string init = config.Write("d/init.txt", "languages=l.txt\n");
    config.Write("d/l.txt", "[a]\nq\n");
    config.Write("d/semantics.txt", "[Geist]\np:1:T:a\n");

    const CCliRun list = Run({"--init", init, "--list"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out, "");
    EXPECT_NE(list.err.find("Schlüssel „semantics“"), std::string::npos) << list.err;

    const CCliRun check = Run({"--init", init, "--check"});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_EQ(check.out, init +
                             ": Warnung: Die Init-Datei nennt keine Semantikdatei "
                             "(Schlüssel „semantics“).\n");
}

TEST_F(CliProgram, BrokenDataStopsGenerationWithTheLine) {
    const struct {
        const char* folder;
        const char* where;  // the finding, from the file's name on
    } cases[] = {
        {"fragment-before-header", "/languages.txt:2: Fragment vor"},
        {"too-few-colons", "/semantics.txt:3: Datenzeile mit weniger"},
    };
    for (const auto& c : cases) {
        const CCliRun run =
            Run({"--init", VELTRANO_CLI_DATA_DIR "/check/" + std::string(c.folder) + "/init.txt",
                 "Testvolk", "Name"});
        EXPECT_EQ(run.exitCode, 1) << c.folder;
        EXPECT_EQ(run.out, "") << c.folder;
        EXPECT_NE(run.err.find(c.folder + std::string(c.where)), std::string::npos) << run.err;
    }
}

TEST_F(CliProgram, WarningsThatLeaveNamesToMakeDoNotStopGeneration) {
    // Only --check looks for cultures that make nothing but empty names.
    const CCliRun run =
        Run({"--init", VELTRANO_CLI_DATA_DIR "/check/culture-only-empty-names/init.txt", "Testvolk",
             "Name"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out, "");
}

TEST_F(CliProgram, MissingDataFileStopsGeneration) {
    const CCliRun run =
        Run({"--init", VELTRANO_CLI_DATA_DIR "/check/missing-language-file/init.txt", "Testvolk",
             "Name"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("fehlt.txt"), std::string::npos) << run.err;
}

// --- Unique names --------------------------------------------------------

TEST_F(CliProgram, UniqueAtThePossibleCountGivesEveryName) {
    const CCliRun run = RunGood({"-u", "-n", "6", "-s", "3", "Testvolk", "Name"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(AsSet(SplitLines(run.out)),
              (std::set<std::string>{"Kanu", "Kara", "Lonu", "Lora", "Minu", "Mira"}));
    EXPECT_EQ(SplitLines(run.out).size(), 6u);
}

TEST_F(CliProgram, UniqueBeyondThePossibleCountWritesNothing) {
    for (const char* count : {"7", "18446744073709551615"}) {
        SCOPED_TRACE(count);
        const CCliRun run = RunGood({"--unique", "-n", count, "Testvolk", "Name"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("höchstens 6 verschiedene Namen"), std::string::npos) << run.err;
    }
    EXPECT_NE(RunGood({"-u", "-n", "2", "Testvolk", "Kurz"}).err.find("höchstens 1 "),
              std::string::npos);
}

TEST_F(CliProgram, UniqueCountBeyondMemoryIsRefusedUpFront) {
    // 1000^5 possible names; remembering 10^14 of them would take petabytes.
    std::string fragments;
    for (int i = 0; i < 1000; ++i) fragments += std::to_string(i) + "\n";
    const std::string init = config.Write("d/init.txt", "languages=l.txt\nsemantics=s.txt\n");
    config.Write("d/l.txt", "[a]\n" + fragments);
    config.Write("d/s.txt", "[K]\np:1:T:a,a,a,a,a\n");
    const CCliRun run = Run({"--init", init, "-u", "-n", "100000000000000", "K", "T"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("reicht der Arbeitsspeicher nicht"), std::string::npos) << run.err;
}

TEST_F(CliProgram, UniqueStopsWhenJoinedFragmentsCollide) {
    // front × back has four joins but three names: "a"+"bc" = "ab"+"c".
    const CCliRun run = RunGood({"-u", "-n", "4", "-s", "5", "Testvolk", "Doppel"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(AsSet(SplitLines(run.out)), (std::set<std::string>{"abc", "ac", "abbc"}));
    EXPECT_EQ(SplitLines(run.out).size(), 3u);
    EXPECT_NE(run.err.find("kein neuer Name"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("3 von 4"), std::string::npos) << run.err;

    EXPECT_EQ(RunGood({"-u", "-n", "3", "Testvolk", "Doppel"}).exitCode, 0);
}

// --- Command line --------------------------------------------------------

TEST_F(CliProgram, BadCommandLinesExitTwoWithAMessageAndNoOutput) {
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{}, "Kultur und Namenstyp fehlen"},
        {{"--bogus", "Testvolk", "Name"}, "Unbekannte Option „--bogus“"},
        {{"-x", "Testvolk", "Name"}, "Unbekannte Option „-x“"},
        {{"Testvolk", "Name", "--init"}, "Der Option „--init“ fehlt ihr Wert"},
        {{"Testvolk", "Name", "-s", "1.5"}, "Der Startwert „1.5“"},
        {{"--check", "-n", "3"}, "--count passt nicht zu --check"},
        {{"--list", "--crlf"}, "--crlf passt nicht zu --list"},
        {{"Testvolk", "Name", "-n"}, "Der Option „--count“ fehlt ihr Wert"},
        {{"Testvolk", "Name", "-n", "-1"}, "Die Anzahl „-1“"},
        {{"Testvolk", "Name", "-n", "zehn"}, "Die Anzahl „zehn“"},
        {{"Testvolk", "Name", "-n", "18446744073709551616"}, "Die Anzahl"},
        {{"Testvolk", "Name", "-s", "4294967296"}, "Der Startwert „4294967296“"},
        {{"Testvolk", "Name", "-s", "-1"}, "Der Startwert „-1“"},
        {{"Testvolk", "Name", "Rest"}, "Zu viele Argumente"},
        {{"--check", "Testvolk"}, "--check prüft die Daten als Ganzes"},
        {{"--check", "--list"}, "schließen einander aus"},
        {{"--list", "-u"}, "--unique passt nicht zu --list"},
        {{"--list", "Testvolk", "Name"}, "--list nimmt höchstens eine Kultur"},
        {{"Testvolk"}, "Der Namenstyp fehlt"},
    };
    for (const auto& row : cases) {
        std::string shown;
        for (const std::string& argument : row.arguments) shown += " " + argument;
        SCOPED_TRACE(shown);
        const CCliRun run = RunGood(row.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
    }
}

TEST_F(CliProgram, HelpAndVersionGoToStdout) {
    for (const char* option : {"--help", "-h"}) {
        const CCliRun run = Run({option});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.rfind("Aufruf: veltrano-cli", 0), 0u) << run.out;
        EXPECT_EQ(run.err, "");
    }
    for (const char* option : {"--version", "-V"}) {
        EXPECT_EQ(Run({option}).out, "veltrano-cli 0.97\n");
    }
}

}  // namespace
