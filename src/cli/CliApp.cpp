#include "cli/CliApp.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliSettings.h"
#include "cli/DataChecker.h"
#include "cli/NameGenerator.h"
#include "cli/NameTypeCapacity.h"
#include "cli/NameWriter.h"
#include "cli/Quoted.h"
#include "language/LanguageTable.h"
#include "language/Random.h"
#include "semantics/Semantics.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void Print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

void Complain(std::FILE* err, std::string_view message) {
    Print(err, "veltrano-cli: ");
    Print(err, message);
    Print(err, "\n");
}

std::string Listing(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += "\n  " + name;
    return text;
}

// Puts the file store back when the run ends, so that a memory store on
// this function's stack never outlives its use.
class CRegistryStoreRestorer {
  public:
    CRegistryStoreRestorer() = default;
    CRegistryStoreRestorer(const CRegistryStoreRestorer&) = delete;
    CRegistryStoreRestorer& operator=(const CRegistryStoreRestorer&) = delete;
    ~CRegistryStoreRestorer() { UseRegistryStore(nullptr); }
};

std::string WriteFailure(const CNameWriter& writer) {
    return std::string("Die Ausgabe lässt sich nicht schreiben: ") +
           std::strerror(writer.ErrorNumber() != 0 ? writer.ErrorNumber() : EIO);
}

int ComplainStops(const CDataChecker& checker, std::FILE* err) {
    for (const CCheckFinding& finding : checker.Findings()) {
        // What --check merely warns about still leaves no names to make.
        if (finding.stopsGeneration) Complain(err, FormatFinding(finding, false));
    }
    return kExitFailure;
}

int RunCheck(CDataChecker& checker, std::FILE* out, std::FILE* err) {
    // Without an init file there is nothing the core could load.
    if (checker.InitFileRead()) {
        CSemantics semantics;
        checker.CheckLoaded(semantics.Load());
        checker.CheckNames(semantics);
    }
    CNameWriter writer(out, false);
    for (const CCheckFinding& finding : checker.Findings()) writer.Write(FormatFinding(finding));
    if (!writer.Flush()) {
        Complain(err, WriteFailure(writer));
        return kExitUsage;
    }
    return checker.ExitCode();
}

int ComplainUnknownCulture(const CSemantics& semantics, const std::string& culture,
                           std::FILE* err) {
    const std::vector<std::string> known = semantics.GetCultureNames();
    Complain(err, "Unbekannte Kultur " + Quoted(culture) +
                      (known.empty() ? ". Die Daten enthalten keine Kultur."
                                     : ". Bekannt sind:" + Listing(known)));
    return kExitFailure;
}

int RunList(const CSemantics& semantics, const CCliOptions& options, std::FILE* out,
            std::FILE* err) {
    std::vector<std::string> lines;
    if (options.arguments.empty()) {
        lines = semantics.GetCultureNames();
    } else {
        const std::string& culture = options.arguments.front();
        if (!semantics.m_cultures.contains(culture)) {
            return ComplainUnknownCulture(semantics, culture, err);
        }
        lines = semantics.GetNameTypeNames(culture);
    }
    CNameWriter writer(out, false);
    for (const std::string& line : lines) writer.Write(line);
    if (!writer.Flush()) {
        Complain(err, WriteFailure(writer));
        return kExitFailure;
    }
    return EXIT_SUCCESS;
}

int RunGenerate(CSemantics& semantics, const CCliOptions& options, std::FILE* out, std::FILE* err) {
    const std::string& cultureName = options.arguments.front();
    const auto culture = semantics.m_cultures.find(cultureName);
    if (culture == semantics.m_cultures.end()) {
        return ComplainUnknownCulture(semantics, cultureName, err);
    }
    if (options.arguments.size() < 2) {
        Complain(err, "Der Namenstyp fehlt. Namenstypen der Kultur " + Quoted(cultureName) + ":" +
                          Listing(culture->second.GetNameTypeNames()));
        return kExitUsage;
    }
    const std::string& nameTypeName = options.arguments[1];
    const auto nameType = culture->second.m_nameTypes.find(nameTypeName);
    if (nameType == culture->second.m_nameTypes.end()) {
        Complain(err, "Unbekannter Namenstyp " + Quoted(nameTypeName) + " in der Kultur " +
                          Quoted(cultureName) +
                          ". Bekannt sind:" + Listing(culture->second.GetNameTypeNames()));
        return kExitFailure;
    }

    std::uint64_t missLimit = 0;
    if (options.unique) {
        const CNameTypeCapacity capacity = MeasureNameType(nameType->second, theLanguageTable);
        if (options.count > capacity.maxDistinctNames) {
            Complain(err, "Der Namenstyp " + Quoted(nameTypeName) + " der Kultur " +
                              Quoted(cultureName) + " ergibt höchstens " +
                              std::to_string(capacity.maxDistinctNames) +
                              " verschiedene Namen, nicht " + std::to_string(options.count) + ".");
            return kExitFailure;
        }
        const std::uint64_t fits = MaxUniqueNamesInMemory();
        if (options.count > fits) {
            Complain(err, "Für --unique mit " + std::to_string(options.count) +
                              " Namen reicht der Arbeitsspeicher nicht: jeder Name wird gemerkt, "
                              "Platz ist für etwa " +
                              std::to_string(fits) + ".");
            return kExitFailure;
        }
        missLimit = ConsecutiveMissLimit(capacity, options.count);
    }

    if (options.seed) SeedRandom(*options.seed);

    CNameWriter writer(out, options.crlf);
    const CGenerationOutcome outcome =
        options.unique ? GenerateUniqueNames(nameType->second, options.count, missLimit, writer)
                       : GenerateNames(nameType->second, options.count, writer);
    const bool flushed = writer.Flush();
    if (outcome.status == CGenerationOutcome::Status::kWriteFailed || !flushed) {
        Complain(err, WriteFailure(writer));
        return kExitFailure;
    }
    if (outcome.status == CGenerationOutcome::Status::kNoNewNames) {
        Complain(err, "Nach " + std::to_string(missLimit) +
                          " Versuchen in Folge kam kein neuer Name mehr: " +
                          std::to_string(outcome.written) + " von " +
                          std::to_string(options.count) +
                          " verschiedenen Namen ausgegeben. Die Daten ergeben weniger "
                          "verschiedene Namen, als ihre Listen erwarten lassen.");
        return kExitFailure;
    }
    return EXIT_SUCCESS;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    CCliOptions options;
    std::string error;
    if (!ParseCliOptions(argc, argv, options, error)) {
        Complain(err, error + "\nHilfe: veltrano-cli --help");
        return kExitUsage;
    }
    if (options.help || options.version) {
        Print(out, options.help ? CliHelpText() : CliVersionText());
        return std::fflush(out) == 0 ? EXIT_SUCCESS : kExitFailure;
    }
    const int failure = options.check ? kExitUsage : kExitFailure;

    CRegistryStoreRestorer restorer;
    CMemoryRegistryStore initFileStore;
    CSettingsSource source;
    const bool settingsRead =
        options.initFile ? UseInitFileSettings(*options.initFile, initFileStore, source, error)
                         : StoreSettingsSource(source, error);
    if (!settingsRead) {
        Complain(err, error);
        return failure;
    }

    CDataChecker checker(source.display);
    if (options.check) {
        checker.CheckFiles(source.initPath, source.initShown);
        return RunCheck(checker, out, err);
    }

    // Names from broken data would be quietly wrong: what stops them is
    // reported as --check would, and nothing is generated.
    checker.CheckSettings(source.initPath, source.initShown);
    if (checker.StopsGeneration()) return ComplainStops(checker, err);
    // Loading fails on every error the line checks find, so only a failed
    // load has the files read again, for the lines to report. The language
    // file is loaded first, on its own, for its result.
    const bool languageLoaded = theLanguageTable.Load();
    CSemantics semantics;
    const bool semanticsLoaded = semantics.Load();
    if (!languageLoaded || !semanticsLoaded) {
        checker.CheckDataFiles();
        checker.CheckLoaded(semanticsLoaded);
        return ComplainStops(checker, err);
    }
    return options.list ? RunList(semantics, options, out, err)
                        : RunGenerate(semantics, options, out, err);
}
