#include "cli/CliApp.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "checking/DataChecker.h"
#include "cli/CliOptions.h"
#include "cli/NameWriter.h"
#include "cli/StatsTable.h"
#include "dataset/DataSet.h"
#include "dataset/DataSetStats.h"
#include "dataset/NameRequest.h"
#include "language/RandomSource.h"
#include "learning/DataSetLearning.h"
#include "planning/AvoidList.h"
#include "settings/SettingsSource.h"
#include "text/Quoted.h"
#include "text/SystemError.h"

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

// The sample data installed with the program lies at the same place relative
// to the executable in the build tree and in every installation.
std::string ProgramDataDir() {
    std::error_code failure;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::string() : BundledDataDir(exe.string(), VELTRANO_DATA_DIR_FROM_BIN);
}

// Where the sample data of this program and of the usual installations
// lies: --learn leaves it as it is, even where the user may write it.
std::vector<std::string> SampleDataFolders() {
    return {ProgramDataDir(), VELTRANO_INSTALLED_DATA_DIR, "/usr/share/veltrano",
            "/usr/local/share/veltrano"};
}

std::string WriteFailure(int errorNumber) {
    return "Die Ausgabe lässt sich nicht schreiben: " +
           SystemErrorText(errorNumber != 0 ? errorNumber : EIO) + ".";
}

std::string WriteFailure(const CNameWriter& writer) { return WriteFailure(writer.ErrorNumber()); }

int PrintText(std::string_view text, std::FILE* out, std::FILE* err) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0) {
        return EXIT_SUCCESS;
    }
    Complain(err, WriteFailure(errno));
    return kExitFailure;
}

// Lines to standard output; a failed write is reported with `failure`.
int PrintLines(const std::vector<std::string>& lines, std::FILE* out, std::FILE* err, int failure) {
    CNameWriter writer(out, false);
    for (const std::string& line : lines) writer.Write(line);
    if (!writer.Flush()) {
        Complain(err, WriteFailure(writer));
        return failure;
    }
    return EXIT_SUCCESS;
}

int RunCheck(const CSettingsSource& source, std::FILE* out, std::FILE* err) {
    CDataChecker checker(source);
    checker.CheckEverything();
    std::vector<std::string> lines;
    for (const CCheckFinding& finding : checker.Findings()) lines.push_back(FormatFinding(finding));
    const int printed = PrintLines(lines, out, err, kExitCheckCouldNotRun);
    return printed != EXIT_SUCCESS ? printed : checker.ExitCode();
}

int RunList(const CDataSet& data, const CCliOptions& options, std::FILE* out, std::FILE* err) {
    if (options.arguments.empty()) {
        return PrintLines(data.Semantics().GetCultureNames(), out, err, kExitFailure);
    }
    const std::string& culture = options.arguments.front();
    const CDataSet::CultureEntry* found = data.FindCulture(culture);
    if (found == nullptr) {
        Complain(err, data.UnknownCultureMessage(culture));
        return kExitFailure;
    }
    return PrintLines(found->second.GetNameTypeNames(), out, err, kExitFailure);
}

// The avoid files of the command line, each complained about that cannot be
// read; null when none is given, and when one cannot be read.
std::shared_ptr<const CAvoidList> ReadAvoidFiles(const CCliOptions& options, std::FILE* err,
                                                 bool& allRead) {
    allRead = true;
    if (options.avoidFiles.empty() && options.avoidContainingFiles.empty()) return nullptr;
    auto avoid = std::make_shared<CAvoidList>();
    std::string error;
    for (const std::string& path : options.avoidFiles) {
        if (!avoid->AddExactFile(path, error)) {
            Complain(err, error);
            allRead = false;
        }
    }
    for (const std::string& path : options.avoidContainingFiles) {
        if (!avoid->AddContainingFile(path, error)) {
            Complain(err, error);
            allRead = false;
        }
    }
    if (!allRead) return nullptr;
    avoid->Finish();
    return avoid;
}

int RunGenerate(const CDataSet& data, const CCliOptions& options,
                std::shared_ptr<const CAvoidList> avoid, std::FILE* out, std::FILE* err) {
    if (options.arguments.size() < 2) {
        // A culture alone is a command line that lacks something, unless the
        // culture is unknown too.
        const CDataSet::CultureEntry* culture = data.FindCulture(options.arguments.front());
        if (culture == nullptr) {
            Complain(err, data.UnknownCultureMessage(options.arguments.front()));
            return kExitFailure;
        }
        Complain(err, "Der Namenstyp fehlt. Namenstypen der Kultur " + Quoted(culture->first) +
                          ":" + CDataSet::Listing(culture->second.GetNameTypeNames()));
        return kExitUsage;
    }
    CNameRequest request;
    request.culture = options.arguments[0];
    request.nameType = options.arguments[1];
    request.count = options.count;
    request.unique = options.unique;
    request.filter = options.filter;
    request.avoid = std::move(avoid);
    request.explain = options.explain;
    // Without a seed, the clock seeds the names, as in the desktop program.
    CRandomSource source(options.seed ? *options.seed : static_cast<unsigned>(std::time(nullptr)));
    CNameWriter writer(out, options.crlf);
    const CNameRunOutcome outcome = MakeNames(data, request, source, writer);
    const bool flushed = writer.Flush();
    if (outcome.status == CNameRunOutcome::Status::kSinkFailed || !flushed) {
        Complain(err, WriteFailure(writer));
        return kExitFailure;
    }
    if (outcome.status != CNameRunOutcome::Status::kDone) {
        Complain(err, outcome.message);
        return kExitFailure;
    }
    return EXIT_SUCCESS;
}

int RunStats(const CDataSet& data, const CCliOptions& options, std::FILE* out, std::FILE* err) {
    std::optional<std::string_view> culture;
    std::optional<std::string_view> nameType;
    if (!options.arguments.empty()) culture = options.arguments[0];
    if (options.arguments.size() > 1) nameType = options.arguments[1];
    std::vector<CStatsRow> rows;
    std::string error;
    if (!MeasureDataSet(data, culture, nameType, rows, error)) {
        Complain(err, error);
        return kExitFailure;
    }
    return PrintText(options.tsv ? StatsTsv(rows) : StatsTable(rows), out, err);
}

int RunLearn(const CCliOptions& options, std::FILE* out, std::FILE* err) {
    CLearnRequest request;
    std::string error;
    // The init file may be missing: --learn then starts a data set there.
    const bool found = options.initFile
                           ? InitPathSource(*options.initFile, request.source, error)
                           : UserSettingsSource(ProgramDataDir(), request.source, error);
    if (!found) {
        Complain(err, error);
        return kExitFailure;
    }
    request.examplesPath = *options.learnFile;
    request.culture = options.arguments[0];
    request.nameType = options.arguments[1];
    request.protectedFolders = SampleDataFolders();
    const CLearnOutcome outcome = LearnIntoDataSet(request);
    if (outcome.status == CLearnOutcome::Status::kLearned) {
        return PrintLines(outcome.messages, out, err, kExitFailure);
    }
    for (const std::string& line : outcome.messages) Complain(err, line);
    if (outcome.status == CLearnOutcome::Status::kProtected) {
        Complain(err,
                 "Eigene Daten entstehen mit --init und einem eigenen Pfad, z. B. "
                 "--init ~/namen/init.txt.");
    }
    return kExitFailure;
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
    if (options.learnFile) return RunLearn(options, out, err);
    // The avoid files are the command line's own: read before the data, and
    // every one that cannot be read is named.
    bool avoidRead = true;
    std::shared_ptr<const CAvoidList> avoid = ReadAvoidFiles(options, err, avoidRead);
    if (!avoidRead) return kExitFailure;
    CSettingsSource source;
    const bool found = options.initFile ? InitFileSource(*options.initFile, source, error)
                                        : UserSettingsSource(ProgramDataDir(), source, error);
    if (!found) {
        Complain(err, error);
        return options.check ? kExitCheckCouldNotRun : kExitFailure;
    }
    if (options.check) return RunCheck(source, out, err);

    std::vector<std::string> errors;
    const std::unique_ptr<const CDataSet> data = CDataSet::Load(source, errors);
    if (data == nullptr) {
        for (const std::string& line : errors) Complain(err, line);
        return kExitFailure;
    }
    if (options.stats) return RunStats(*data, options, out, err);
    return options.list ? RunList(*data, options, out, err)
                        : RunGenerate(*data, options, std::move(avoid), out, err);
}
