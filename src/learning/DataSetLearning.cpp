#include "learning/DataSetLearning.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "checking/DataChecker.h"
#include "dataset/DataSet.h"
#include "language/LanguageTable.h"
#include "learning/ExampleNames.h"
#include "learning/LearnedText.h"
#include "learning/NameLearner.h"
#include "settings/LineReader.h"
#include "settings/SafeFile.h"
#include "text/Quoted.h"
#include "text/SystemError.h"

namespace {

// The files of a new data set, named as in the sample data.
constexpr const char* kNewLanguageFile = "sprachen.txt";
constexpr const char* kNewSemanticsFile = "semantik.txt";
// New files are readable by all, like the store and most editors' files.
constexpr mode_t kNewFileMode = 0644;

constexpr const char* kNothingChanged = " Die Daten bleiben, wie sie waren.";

// One data file: what it held, and what it will hold.
struct CDataFile {
    std::string path;
    std::string shown;
    std::string contents;
    std::string lineEnd = "\n";
    mode_t mode = kNewFileMode;
};

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) == nullptr ? std::string() : std::string(resolved);
}

bool IsProtected(const std::string& folder, const std::vector<std::string>& protectedFolders) {
    const std::string real = RealPath(folder.empty() ? "/" : folder);
    if (real.empty()) return false;
    return std::any_of(protectedFolders.begin(), protectedFolders.end(),
                       [&real](const std::string& candidate) {
                           return !candidate.empty() && RealPath(candidate) == real;
                       });
}

// A file's own line end is the one its first line ends with.
std::string LineEndOf(std::string_view contents) {
    const std::size_t lf = contents.find('\n');
    return lf != std::string_view::npos && lf > 0 && contents[lf - 1] == '\r' ? "\r\n" : "\n";
}

// What goes between a file's last byte and the learned lines: the end of
// its last line where it lacks one, and a blank line that sets the new part
// apart.
std::string Gap(const std::string& contents, const std::string& lineEnd) {
    if (contents.size() <= Utf8BomLength(contents)) return {};
    std::string gap;
    if (contents.back() != '\n') {
        // A CR that ends the file is data of its last line, since only the CR
        // of a CR LF pair belongs to a line end: behind a plain LF it would
        // turn into a line end and leave the line.
        gap = contents.back() == '\r' ? "\r\n" : lineEnd;
    }
    return gap + lineEnd;
}

// Reads a data file to extend it. Opening it for writing refuses a file its
// owner made read-only, as the store does.
bool ReadDataFile(CDataFile& file, const char* what, std::string& error) {
    struct stat info {};
    errno = 0;
    const int fd = OpenRegularFile(file.path, O_RDWR, info);
    if (fd < 0) {
        error = std::string(what) + " " + Quoted(file.shown) +
                " lässt sich nicht schreiben: " + SystemErrorText(errno != 0 ? errno : EINVAL) +
                "." + kNothingChanged;
        return false;
    }
    const bool read = ReadAll(fd, file.contents);
    const int readError = errno;
    ::close(fd);
    if (!read) {
        error = std::string(what) + " " + Quoted(file.shown) +
                " lässt sich nicht lesen: " + SystemErrorText(readError) + "." + kNothingChanged;
        return false;
    }
    file.mode = info.st_mode & 07777;
    file.lineEnd = LineEndOf(file.contents);
    return true;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The names of the lists the language file has, and of those its patterns
// name without the language file having them: a learned list of such a name
// would quietly change what those patterns make.
std::set<std::string> ListNamesInUse(const CDataSet& data) {
    std::set<std::string> names;
    for (const auto& [name, list] : data.Lists().m_lists) names.insert(name);
    for (const auto& [cultureName, culture] : data.Semantics().m_cultures) {
        for (const auto& [nameTypeName, nameType] : culture.m_nameTypes) {
            for (const CNamePattern& pattern : nameType.m_patterns) {
                for (const std::string& element : pattern.m_listNames) {
                    names.insert(std::string(ParseListReference(element).listName));
                }
            }
        }
    }
    return names;
}

// The culture and name type against those the semantics file has, as the
// file reads them.
std::string NameTypeConflict(const CDataSet& data, const std::string& culture,
                             const std::string& nameType) {
    const CDataSet::CultureEntry* found = data.FindCulture(culture);
    if (found == nullptr) return {};
    if (found->first != culture) {
        // A section with the bytes given would make a second culture that
        // looks just like this one.
        return "Die Kultur " + Quoted(culture) +
               " steht in der Semantikdatei in Windows-1252; ein Abschnitt in UTF-8 ergäbe eine "
               "zweite Kultur, die genauso aussieht. Die Semantikdatei erst in UTF-8 umwandeln "
               "oder einen anderen Kulturnamen wählen.";
    }
    const CDataSet::NameTypeEntry* existing = CDataSet::FindNameType(*found, nameType);
    if (existing == nullptr) return {};
    return "Die Kultur " + Quoted(culture) + " hat schon den Namenstyp " + Quoted(nameType) +
           (existing->first != nameType ? " (in Windows-1252 geschrieben)" : "") +
           ". Einen anderen Namenstyp wählen.";
}

std::string FolderFailure(const std::string& folder, int errorNumber) {
    return "Im Ordner " + Quoted(folder) +
           " lässt sich keine Datei anlegen: " + SystemErrorText(errorNumber) + "." +
           kNothingChanged;
}

// Replaces both files, the language file first: should the second step
// fail, the new lists stand unused beside the old data, which still loads.
bool ReplaceBoth(CDataFile& language, CDataFile& semantics, std::string& error) {
    CSafeFile newLanguage;
    CSafeFile newSemantics;
    for (auto [file, safe] :
         {std::pair(&language, &newLanguage), std::pair(&semantics, &newSemantics)}) {
        if (!safe->Write(file->path, file->contents, file->mode)) {
            error = FolderFailure(FolderOfPath(safe->Target()), safe->ErrorNumber());
            return false;
        }
    }
    if (!newLanguage.Replace()) {
        error = "Die Sprachdatei " + Quoted(language.shown) +
                " lässt sich nicht ersetzen: " + SystemErrorText(newLanguage.ErrorNumber()) + "." +
                kNothingChanged;
        return false;
    }
    if (!newSemantics.Replace()) {
        error = "Die Semantikdatei " + Quoted(semantics.shown) +
                " lässt sich nicht ersetzen: " + SystemErrorText(newSemantics.ErrorNumber()) +
                ". Sie bleibt, wie sie war; die Sprachdatei hat die neuen Listen schon, die "
                "nichts nutzt.";
        return false;
    }
    return true;
}

// Makes the three files of a new data set. The init file comes last, so that
// no init file ever names a half-made data set; link() replaces nothing that
// appeared in the meantime.
bool CreateAll(std::vector<CDataFile>& files, std::string& error) {
    std::vector<std::unique_ptr<CSafeFile>> pending;
    for (const CDataFile& file : files) {
        pending.push_back(std::make_unique<CSafeFile>());
        if (!pending.back()->Write(file.path, file.contents, file.mode)) {
            error = FolderFailure(FolderOfPath(file.path), pending.back()->ErrorNumber());
            return false;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (pending[i]->Create()) continue;
        const int failure = pending[i]->ErrorNumber();
        error =
            Quoted(files[i].shown) +
            (failure == EEXIST ? " ist inzwischen entstanden und bleibt, wie es ist."
                               : " lässt sich nicht anlegen: " + SystemErrorText(failure) + ".");
        for (std::size_t made = 0; made < i; ++made) ::unlink(files[made].path.c_str());
        return false;
    }
    return true;
}

std::string InitFileText() {
    return "# Eigene Veltrano-Daten, angelegt von veltrano-cli --learn.\n"
           "languages=" +
           std::string(kNewLanguageFile) + "\nsemantics=" + kNewSemanticsFile + "\n";
}

}  // namespace

CLearnOutcome LearnIntoDataSet(const CLearnRequest& request) {
    CLearnOutcome outcome;
    const auto refuse = [&outcome](std::string message) {
        outcome.messages.push_back(std::move(message));
        return outcome;
    };
    std::string error = LearnedNamesProblem(request.culture, request.nameType);
    if (!error.empty()) return refuse(error);

    const CSettingsSource& source = request.source;
    // The data folder, and the folders of the files it names, by their real
    // paths: a link or a copy of the settings must not lead around it.
    const auto refuseProtected = [&]() {
        outcome.status = CLearnOutcome::Status::kProtected;
        return refuse(Quoted(source.initShown) +
                      " gehört zu den mitgelieferten Beispieldaten; sie bleiben, wie sie sind.");
    };
    if (IsProtected(source.dataDir, request.protectedFolders)) return refuseProtected();

    struct stat info {};
    const bool initMissing = ::lstat(source.initPath.c_str(), &info) != 0 && errno == ENOENT;
    CDataFile language;
    CDataFile semantics;
    std::set<std::string> listsInUse;
    if (initMissing) {
        language.path = source.dataDir + "/" + kNewLanguageFile;
        semantics.path = source.dataDir + "/" + kNewSemanticsFile;
        language.shown = source.display.Show(language.path);
        semantics.shown = source.display.Show(semantics.path);
        const CDataFile* existing = Exists(language.path)    ? &language
                                    : Exists(semantics.path) ? &semantics
                                                             : nullptr;
        if (existing != nullptr) {
            return refuse("Es gibt schon " + Quoted(existing->shown) + ", aber keine Init-Datei " +
                          Quoted(source.initShown) +
                          "; ein neuer Datensatz ersetzt sie nicht. Eine Init-Datei, die sie "
                          "nennt, macht sie zu Daten, in die sich lernen lässt.");
        }
    } else {
        CDataChecker checker(source);
        checker.CheckEverything();
        if (checker.HasErrors()) {
            for (const CCheckFinding& finding : checker.Findings()) {
                if (finding.severity == CCheckFinding::Severity::kError) {
                    outcome.messages.push_back(FormatFinding(finding, false));
                }
            }
            return refuse("In Daten mit Fehlern wird nichts gelernt; erst die Fehler beheben.");
        }
        language.path = checker.LanguagePath();
        semantics.path = checker.SemanticsPath();
        language.shown = source.display.Show(language.path);
        semantics.shown = source.display.Show(semantics.path);
        if (IsProtected(FolderOfPath(language.path), request.protectedFolders) ||
            IsProtected(FolderOfPath(semantics.path), request.protectedFolders)) {
            return refuseProtected();
        }
    }

    std::vector<std::string> names;
    if (!ReadExampleNames(request.examplesPath, names, error)) return refuse(error);

    if (!initMissing) {
        std::vector<std::string> errors;
        const std::unique_ptr<const CDataSet> data = CDataSet::Load(source, errors);
        if (data == nullptr) {
            outcome.messages = errors;
            return outcome;
        }
        error = NameTypeConflict(*data, request.culture, request.nameType);
        if (!error.empty()) return refuse(error);
        listsInUse = ListNamesInUse(*data);
        if (!ReadDataFile(language, "Die Sprachdatei", error) ||
            !ReadDataFile(semantics, "Die Semantikdatei", error)) {
            return refuse(error);
        }
    }

    const CLearnedNameType learned = LearnNameType(names);
    const std::string sourceName = FileNameOfPath(request.examplesPath);
    CLearnedText forLanguage;
    CLearnedText forSemantics;
    if (!MakeLearnedText(learned, sourceName, request.culture, request.nameType, listsInUse,
                         language.lineEnd, forLanguage, error) ||
        !MakeLearnedText(learned, sourceName, request.culture, request.nameType, listsInUse,
                         semantics.lineEnd, forSemantics, error)) {
        return refuse(error);
    }
    language.contents += Gap(language.contents, language.lineEnd) + forLanguage.language;
    semantics.contents += Gap(semantics.contents, semantics.lineEnd) + forSemantics.semantics;

    if (initMissing) {
        std::error_code failure;
        std::filesystem::create_directories(source.dataDir.empty() ? "/" : source.dataDir, failure);
        if (failure) {
            return refuse("Der Ordner " + Quoted(source.dataDir) +
                          " lässt sich nicht anlegen: " + SystemErrorText(failure.value()) + ".");
        }
        CDataFile init;
        init.path = source.initPath;
        init.shown = source.initShown;
        init.contents = InitFileText();
        std::vector<CDataFile> files = {language, semantics, init};
        if (!CreateAll(files, error)) return refuse(error);
    } else if (!ReplaceBoth(language, semantics, error)) {
        return refuse(error);
    }

    // The lists share their name up to the role.
    const std::string& firstList = forLanguage.listNames.front();
    const std::string listBase =
        firstList.substr(0, firstList.size() - learned.lists.front().role.size());
    std::string done = "Gelernt aus " + Quoted(sourceName) + " (" +
                       std::to_string(learned.exampleCount) + " Namen): der Namenstyp " +
                       Quoted(request.nameType) + " der Kultur " + Quoted(request.culture) +
                       " in " + Quoted(semantics.shown) + ", " +
                       std::to_string(forLanguage.listNames.size()) + " Listen " +
                       Quoted(listBase + "…") + " in " + Quoted(language.shown) + ".";
    if (initMissing) done += " Neue Init-Datei: " + Quoted(source.initShown) + ".";
    outcome.status = CLearnOutcome::Status::kLearned;
    outcome.messages = {std::move(done)};
    return outcome;
}
