#include "cli/CliApp.h"

#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "checking/DataChecker.h"
#include "cli/CliOptions.h"
#include "cli/NameGenerator.h"
#include "cli/NameWriter.h"
#include "dataset/SettingsSource.h"
#include "language/LanguageTable.h"
#include "language/Random.h"
#include "planning/DrawPlan.h"
#include "planning/NameFilter.h"
#include "planning/NameTypeCapacity.h"
#include "semantics/Semantics.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "text/Quoted.h"
#include "text/SystemError.h"
#include "text/TextReading.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// --check could not look at the data at all.
constexpr int kExitCheckCouldNotRun = 3;

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
    for (const std::string& name : names) text += "\n  " + Escaped(name);
    return text;
}

// The entry a culture or name-type argument names: the one with exactly
// those bytes, or else the one that reads as that text where the desktop
// program shows it as Windows-1252, so that "männlich" typed in a UTF-8
// terminal finds "m\xe4nnlich".
template <typename Map>
auto FindByReading(Map& map, const std::string& argument) {
    auto found = map.find(argument);
    if (found != map.end() || !IsValidUtf8(argument)) return found;
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (!IsValidUtf8(it->first) && Windows1252ToUtf8(it->first) == argument) return it;
    }
    return found;
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

std::string WriteFailure(int errorNumber) {
    return "Die Ausgabe lässt sich nicht schreiben: " +
           SystemErrorText(errorNumber != 0 ? errorNumber : EIO) + ".";
}

std::string WriteFailure(const CNameWriter& writer) { return WriteFailure(writer.ErrorNumber()); }

// The errors that --check would report, for a run that makes no names
// because of them.
int ComplainErrors(const CDataChecker& checker, std::FILE* err) {
    for (const CCheckFinding& finding : checker.Findings()) {
        if (finding.severity == CCheckFinding::Severity::kError) {
            Complain(err, FormatFinding(finding, false));
        }
    }
    return kExitFailure;
}

int PrintText(std::string_view text, std::FILE* out, std::FILE* err) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0) {
        return EXIT_SUCCESS;
    }
    Complain(err, WriteFailure(errno));
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
        return kExitCheckCouldNotRun;
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
        const auto found = FindByReading(semantics.m_cultures, culture);
        if (found == semantics.m_cultures.end()) {
            return ComplainUnknownCulture(semantics, culture, err);
        }
        lines = found->second.GetNameTypeNames();
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
    const auto culture = FindByReading(semantics.m_cultures, cultureName);
    if (culture == semantics.m_cultures.end()) {
        return ComplainUnknownCulture(semantics, cultureName, err);
    }
    if (options.arguments.size() < 2) {
        Complain(err, "Der Namenstyp fehlt. Namenstypen der Kultur " + Quoted(culture->first) +
                          ":" + Listing(culture->second.GetNameTypeNames()));
        return kExitUsage;
    }
    const std::string& nameTypeName = options.arguments[1];
    const auto nameType = FindByReading(culture->second.m_nameTypes, nameTypeName);
    if (nameType == culture->second.m_nameTypes.end()) {
        Complain(err, "Unbekannter Namenstyp " + Quoted(nameTypeName) + " in der Kultur " +
                          Quoted(culture->first) +
                          ". Bekannt sind:" + Listing(culture->second.GetNameTypeNames()));
        return kExitFailure;
    }
    if (!MeasureNameType(nameType->second, theLanguageTable).makesNonEmptyNames) {
        Complain(err, EmptyNamesMessage(culture->first, nameType->first));
        return kExitFailure;
    }

    const CNameFilter filter(options.filter);
    const CDrawPlan plan = PlanDraws(
        nameType->second, theLanguageTable, filter, options.unique, options.count,
        "Der Namenstyp " + Quoted(nameType->first) + " der Kultur " + Quoted(culture->first));
    if (!plan.refusal.empty()) {
        Complain(err, plan.refusal);
        return kExitFailure;
    }
    const CNameFilter* fitting = filter.Asked() != 0 ? &filter : nullptr;

    if (options.seed) SeedRandom(*options.seed);

    CNameWriter writer(out, options.crlf);
    CGenerationOutcome outcome;
    bool outOfMemory = false;
    try {
        outcome = options.unique ? GenerateUniqueNames(nameType->second, options.count, fitting,
                                                       plan.missLimit, writer)
                                 : GenerateNames(nameType->second, options.count, fitting,
                                                 plan.missLimit, writer);
    } catch (const std::bad_alloc&) {
        // The names written so far are whole; the run ends with them and
        // says why, instead of aborting with a cut last line.
        outOfMemory = true;
    }
    const bool flushed = writer.Flush();
    if (outcome.status == CGenerationOutcome::Status::kWriteFailed || !flushed) {
        Complain(err, WriteFailure(writer));
        return kExitFailure;
    }
    if (outOfMemory) {
        Complain(err, "Der Arbeitsspeicher reicht nicht für weitere Namen.");
        return kExitFailure;
    }
    if (outcome.status == CGenerationOutcome::Status::kGaveUp) {
        Complain(err, GaveUpMessage(plan, options.unique, outcome.written, options.count));
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
        return PrintText(options.help ? CliHelpText() : CliVersionText(), out, err);
    }
    const int failure = options.check ? kExitCheckCouldNotRun : kExitFailure;

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
    if (checker.HasErrors()) return ComplainErrors(checker, err);
    // Loading fails on every error the line checks find, so only a failed
    // load has the files read again, for the lines to report. The language
    // file is loaded first, on its own, for its result.
    const bool languageLoaded = theLanguageTable.Load();
    CSemantics semantics;
    const bool semanticsLoaded = semantics.Load();
    if (!languageLoaded || !semanticsLoaded) {
        checker.CheckDataFiles();
        checker.CheckLoaded(semanticsLoaded);
        return ComplainErrors(checker, err);
    }
    return options.list ? RunList(semantics, options, out, err)
                        : RunGenerate(semantics, options, out, err);
}
