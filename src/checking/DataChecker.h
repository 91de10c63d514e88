#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "language/LanguageTable.h"
#include "settings/SettingsSource.h"

class CSemantics;

// One problem in the data files.
struct CCheckFinding {
    enum class Severity { kWarning, kError };
    // The files in the order in which findings are listed.
    enum class File { kInit, kLanguage, kSemantics };

    Severity severity;
    File file;
    std::string shownPath;
    std::size_t line;  // 0: the file as a whole
    std::string message;
};

// "FILE:LINE: Fehler: ..." or "FILE:LINE: Warnung: ...", without LINE for
// the file as a whole, and without the kind when `withSeverity` is false.
std::string FormatFinding(const CCheckFinding& finding, bool withSeverity = true);

// The finding, and the refusal, for a name type that makes only empty names.
std::string EmptyNamesMessage(const std::string& cultureName, const std::string& nameTypeName);

// Reads the init, language and semantics files line by line with the
// loaders' own reader and line parsers, and reports errors (what makes
// loading fail, at the line where it stops) and warnings (what loading
// accepts silently but an author wants to know).
class CDataChecker {
  public:
    // Checks the data that `source` names.
    explicit CDataChecker(const CSettingsSource& source);

    // Everything --check reports: CheckSettings, CheckDataFiles, then the
    // tables as the core loads them.
    void CheckEverything();
    // Checks the init file, reading the settings from it, and that the data
    // files it names can be opened.
    void CheckSettings();
    // Checks the data files line by line. After CheckSettings.
    void CheckDataFiles();

    // Checks that the core's load of the semantics file, which gave
    // `semanticsLoaded`, agrees with the line check on whether the file holds
    // an error. After CheckDataFiles.
    void CheckLoaded(bool semanticsLoaded);
    // Reports name types that make only empty names: what only the loaded
    // tables show. After CheckLoaded.
    void CheckNames(const CSemantics& semantics);

    // The settings as CheckSettings read them: "DataDir" and the init
    // file's entries, the later of two equal keys counting.
    const CSettingsMap& Settings() const { return m_settings; }
    // Where the data files lie, after CheckSettings.
    const std::string& LanguagePath() const { return m_language.path; }
    const std::string& SemanticsPath() const { return m_semantics.path; }

    // Findings in file order, by line.
    std::vector<CCheckFinding> Findings() const;
    bool HasErrors() const;
    bool HasWarnings() const;
    // The init file could be read to its end; without it there is nothing
    // to check.
    bool InitFileRead() const { return m_init.readable && !m_init.failed; }
    // 0 clean, 1 warnings only, 2 errors, 3 when the init file could not be
    // read to its end and nothing could be checked.
    int ExitCode() const;

  private:
    struct CFileState {
        std::string path;
        std::string shown;
        bool readable = false;
        bool failed = false;  // an error stopped its loading
    };

    void Add(CCheckFinding::Severity severity, CCheckFinding::File file, std::size_t line,
             std::string message);
    void Warn(CCheckFinding::File file, std::size_t line, std::string message) {
        Add(CCheckFinding::Severity::kWarning, file, line, std::move(message));
    }
    void Fail(CCheckFinding::File file, std::size_t line, std::string message) {
        Add(CCheckFinding::Severity::kError, file, line, std::move(message));
    }
    // An editor's way of saving that the line rule cannot read: reported at
    // line 1, and the file is read no further. False for such a file.
    bool CheckShape(CCheckFinding::File file, CFileState& state);
    // A line that is a comment only by its second byte, which is easily
    // written by mistake ("x#z").
    void CheckSecondHash(CCheckFinding::File file, std::size_t line, std::string_view text);
    const CFileState& State(CCheckFinding::File file) const;
    // An error when the core's loading of a file disagrees with its line check.
    void CheckAgreement(CCheckFinding::File file, bool loaded, CFileState& state);

    bool CheckInitFile();
    void CheckDataFileKey(const std::string& key, const char* what, CCheckFinding::File file,
                          CFileState& state);
    void CheckLanguageFile();
    void CheckSemanticsFile();
    void CheckHeader(CCheckFinding::File file, std::size_t line, std::string_view headerLine,
                     std::string_view name);
    void CheckWeight(std::size_t line, std::string_view field);
    void CheckListNames(std::size_t line, std::string_view listNames);

    CPathDisplay m_display;
    CSettingsMap m_settings;
    CFileState m_init;
    CFileState m_language;
    CFileState m_semantics;
    std::vector<CCheckFinding> m_findings;

    // The line of the last entry of each init-file key: the one that counts.
    std::map<std::string, std::size_t> m_initKeyLines;
    // The language file as the core reads it, and where each list begins.
    CLanguageTable m_languageTable;
    std::map<std::string, std::size_t> m_listHeaderLines;
    // The first pattern line of each culture's name type.
    std::map<std::pair<std::string, std::string>, std::size_t> m_nameTypeLines;
};
