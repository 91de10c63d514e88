#include "checking/DataChecker.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <set>
#include <utility>

#include "checking/FileShape.h"
#include "language/LanguageFile.h"
#include "planning/NameTypeCapacity.h"
#include "semantics/Semantics.h"
#include "semantics/SemanticsFile.h"
#include "settings/InitFile.h"
#include "settings/LineReader.h"
#include "text/Quoted.h"

namespace {

using File = CCheckFinding::File;

std::string CutLineMessage() {
    return "Die Zeile ist länger als " + std::to_string(CLineReader::kMaxLineLength) +
           " Zeichen; der Rest wird als eigene Zeile gelesen.";
}

// Letters folded and blanks dropped at both ends: how a key the loader does
// not recognise may still have been meant as `wanted`.
bool LooksLikeKey(std::string_view key, std::string_view wanted) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!key.empty() && blank(key.front())) key.remove_prefix(1);
    while (!key.empty() && blank(key.back())) key.remove_suffix(1);
    if (key.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (UpperCaseAscii(key[i]) != UpperCaseAscii(wanted[i])) return false;
    }
    return true;
}

bool IsPlainNumber(std::string_view field) {
    if (!field.empty() && field.front() == '-') field.remove_prefix(1);
    return !field.empty() &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string FormatFinding(const CCheckFinding& finding, bool withSeverity) {
    std::string text = Escaped(finding.shownPath);
    if (finding.line > 0) text += ":" + std::to_string(finding.line);
    if (!withSeverity) {
        text += ": ";
    } else if (finding.severity == CCheckFinding::Severity::kError) {
        text += ": Fehler: ";
    } else {
        text += ": Warnung: ";
    }
    text += finding.message;
    return text;
}

CDataChecker::CDataChecker(const CSettingsSource& source)
    : m_display(source.display), m_languageTable(CConfigBase::kDetached) {
    m_init.path = source.initPath;
    m_init.shown = source.initShown;
    m_settings["DataDir"] = source.dataDir + "/";
}

void CDataChecker::Add(CCheckFinding::Severity severity, File file, std::size_t line,
                       std::string message) {
    m_findings.push_back({severity, file, State(file).shown, line, std::move(message)});
}

bool CDataChecker::CheckShape(File file, CFileState& state) {
    const std::string message = FileShapeMessage(InspectFileShape(state.path));
    if (message.empty()) return true;
    Fail(file, 1, message);
    state.failed = true;
    return false;
}

void CDataChecker::CheckSecondHash(File file, std::size_t line, std::string_view text) {
    if (text.size() > 1 && text[0] != '#' && text[1] == '#') {
        Warn(file, line, "Die Zeile gilt als Kommentar, weil ihr zweites Zeichen „#“ ist.");
    }
}

const CDataChecker::CFileState& CDataChecker::State(File file) const {
    switch (file) {
        case File::kInit:
            return m_init;
        case File::kLanguage:
            return m_language;
        case File::kSemantics:
            break;
    }
    return m_semantics;
}

void CDataChecker::CheckEverything() {
    CheckSettings();
    CheckDataFiles();
    // Without an init file there is nothing the core could load.
    if (!InitFileRead()) return;
    CSemantics semantics(CConfigBase::kDetached);
    CheckLoaded(semantics.Read(m_semantics.path, m_languageTable));
    CheckNames(semantics);
}

void CDataChecker::CheckSettings() {
    if (!CheckInitFile()) return;

    CheckDataFileKey("languages", "Sprachdatei", File::kLanguage, m_language);
    CheckDataFileKey("semantics", "Semantikdatei", File::kSemantics, m_semantics);
}

void CDataChecker::CheckDataFiles() {
    if (m_language.readable) CheckLanguageFile();
    if (m_semantics.readable) CheckSemanticsFile();
}

void CDataChecker::CheckAgreement(File file, bool loaded, CFileState& state) {
    if (loaded != state.failed) return;
    Fail(file, 0,
         loaded ? "Das Laden übergeht einen Fehler, den die Prüfung findet."
                : "Das Laden meldet einen Fehler, den die Prüfung nicht findet.");
    state.failed = true;
}

bool CDataChecker::CheckInitFile() {
    CLineReader reader;
    if (!reader.Open(m_init.path)) {
        Fail(File::kInit, 0, "Die Init-Datei fehlt oder ist nicht lesbar.");
        return false;
    }
    m_init.readable = true;
    if (!CheckShape(File::kInit, m_init)) return false;
    std::string_view line;
    while (reader.Next(line)) {
        if (reader.WasCut()) Warn(File::kInit, reader.LineNumber(), CutLineMessage());
        CheckSecondHash(File::kInit, reader.LineNumber(), line);
        std::string_view key;
        std::string_view value;
        if (ParseInitLine(line, key, value)) {
            // The later of two lines of a key is the one that counts.
            m_initKeyLines[std::string(key)] = reader.LineNumber();
            m_settings[std::string(key)] = value;
        }
    }
    if (reader.Failed()) {
        Fail(File::kInit, 0, "Die Init-Datei lässt sich nicht zu Ende lesen.");
        m_init.readable = false;
        return false;
    }
    return true;
}

void CDataChecker::CheckDataFileKey(const std::string& key, const char* what, File file,
                                    CFileState& state) {
    state.path = DataFilePath(m_settings, key);
    state.shown = m_display.Show(state.path);
    const auto keyLine = m_initKeyLines.find(key);
    if (keyLine == m_initKeyLines.end()) {
        std::string message =
            std::string("Die Init-Datei nennt keine ") + what + " (Schlüssel " + Quoted(key) + ").";
        for (const auto& [written, line] : m_initKeyLines) {
            if (LooksLikeKey(written, key)) {
                message += " Zeile " + std::to_string(line) + " schreibt " + Quoted(written) +
                           "; Schlüssel gelten genau so, wie sie vor dem „=“ stehen.";
                break;
            }
        }
        Fail(File::kInit, 0, std::move(message));
        return;
    }
    CLineReader probe;
    if (!probe.Open(state.path)) {
        Fail(File::kInit, keyLine->second,
             std::string("Die ") + what + " " + Quoted(state.shown) +
                 " fehlt oder ist nicht lesbar.");
        return;
    }
    if (!CheckShape(file, state)) return;
    state.readable = true;
}

void CDataChecker::CheckHeader(File file, std::size_t line, std::string_view headerLine,
                               std::string_view name) {
    if (name.find(']') != std::string_view::npos) {
        Warn(file, line,
             "Zeichen nach dem „]“: nur das letzte Zeichen der Zeile fällt weg, der Abschnitt "
             "heißt " +
                 Quoted(name) + ".");
    } else if (headerLine.back() != ']') {
        Warn(file, line,
             "Dem Abschnittskopf fehlt das „]“; sein letztes Zeichen fällt weg: der Abschnitt "
             "heißt " +
                 Quoted(name) + ".");
    }
}

void CDataChecker::CheckLanguageFile() {
    CLineReader reader;
    if (!reader.Open(m_language.path)) return;
    bool inSection = false;
    std::string_view line;
    while (reader.Next(line)) {
        const std::size_t lineNumber = reader.LineNumber();
        if (reader.WasCut()) Warn(File::kLanguage, lineNumber, CutLineMessage());
        CheckSecondHash(File::kLanguage, lineNumber, line);
        const CLanguageLine parsed = ParseLanguageLine(line);
        if (parsed.kind == CLanguageLine::Kind::kComment) continue;
        if (parsed.kind == CLanguageLine::Kind::kHeader) {
            CheckHeader(File::kLanguage, lineNumber, line, parsed.text);
            const auto [earlier, isNew] =
                m_listHeaderLines.try_emplace(std::string(parsed.text), lineNumber);
            if (!isNew) {
                Warn(File::kLanguage, lineNumber,
                     "Der Abschnitt " + Quoted(parsed.text) +
                         " ersetzt den gleichnamigen aus Zeile " + std::to_string(earlier->second) +
                         " samt seinen Fragmenten.");
                earlier->second = lineNumber;
            }
            inSection = true;
            continue;
        }
        if (!inSection) {
            Fail(File::kLanguage, lineNumber,
                 "Fragment vor dem ersten Abschnittskopf: das Laden bricht hier ab, alle "
                 "Fragmentlisten bleiben leer.");
            m_language.failed = true;
            break;
        }
    }
    if (reader.Failed()) {
        Fail(File::kLanguage, 0, "Die Sprachdatei lässt sich nicht zu Ende lesen.");
        m_language.failed = true;
    }
    // The core's own reading decides what the lists hold; it must fail
    // exactly where the line check found an error.
    CheckAgreement(File::kLanguage, m_languageTable.Read(m_language.path), m_language);
}

void CDataChecker::CheckWeight(std::size_t line, std::string_view field) {
    const std::int32_t parsed = ParseWeight(field);
    const std::int32_t weight = PatternWeight(field);
    const std::string never = weight < 0 ? " Negativ: das Muster wird nie gewählt." : "";
    // An empty field, like 0, is the documented way to ask for the usual
    // weight 10.
    if (field.empty()) return;
    if (!IsPlainNumber(field)) {
        Warn(File::kSemantics, line,
             "Das Gewicht " + Quoted(field) + " ist keine reine Zahl; es gilt " +
                 std::to_string(weight) + "." + never);
        return;
    }
    std::int64_t written = 0;
    const auto [end, failure] = std::from_chars(field.data(), field.data() + field.size(), written);
    if (failure != std::errc() || written != parsed) {
        Warn(File::kSemantics, line,
             "Das Gewicht " + Quoted(field) + " liegt außerhalb von " +
                 std::to_string(std::numeric_limits<std::int32_t>::min()) + " bis " +
                 std::to_string(std::numeric_limits<std::int32_t>::max()) + "; es gilt " +
                 std::to_string(weight) + "." + never);
        return;
    }
    if (parsed < 0) {
        Warn(File::kSemantics, line,
             "Das Gewicht " + Quoted(field) + " ist negativ: das Muster wird nie gewählt.");
    }
}

void CDataChecker::CheckListNames(std::size_t line, std::string_view listNames) {
    std::set<std::string> reported;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = listNames.find(',', start);
        const std::string_view element = listNames.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const std::string listName(ParseListReference(element).listName);
        if (reported.insert(listName).second) {
            const CFragmentList* list = m_languageTable.Find(listName);
            if (list == nullptr && listName.empty()) {
                Warn(File::kSemantics, line,
                     "Das Muster enthält einen leeren Listennamen (zwei Kommas hintereinander "
                     "oder ein Komma am Rand?), und die Sprachdatei hat keine Liste ohne Namen.");
            } else if (list == nullptr) {
                Warn(File::kSemantics, line,
                     "Das Muster nennt die Fragmentliste " + Quoted(listName) +
                         ", die die Sprachdatei nicht kennt.");
            } else if (list->m_fragments.empty()) {
                const auto header = m_listHeaderLines.find(listName);
                std::string where;
                if (header != m_listHeaderLines.end()) {
                    where = " (" + m_language.shown + ":" + std::to_string(header->second) + ")";
                }
                Warn(File::kSemantics, line,
                     "Das Muster nutzt die Fragmentliste " + Quoted(listName) + where +
                         ", die keine Fragmente hat.");
            }
        }
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
}

void CDataChecker::CheckSemanticsFile() {
    CLineReader reader;
    if (!reader.Open(m_semantics.path)) return;
    // Without usable lists every pattern would be reported; the language
    // file's own finding says enough.
    const bool checkLists = m_language.readable && !m_language.failed;
    bool sawHeader = false;
    std::size_t headerLine = 0;
    std::string section;
    std::string_view line;
    while (reader.Next(line)) {
        const std::size_t lineNumber = reader.LineNumber();
        if (reader.WasCut()) Warn(File::kSemantics, lineNumber, CutLineMessage());
        CheckSecondHash(File::kSemantics, lineNumber, line);
        const CSemanticsLine parsed = ParseSemanticsLine(line);
        if (parsed.kind == CSemanticsLine::Kind::kComment) continue;
        if (parsed.kind == CSemanticsLine::Kind::kHeader) {
            CheckHeader(File::kSemantics, lineNumber, line, parsed.section);
            section = parsed.section;
            sawHeader = true;
            headerLine = lineNumber;
            continue;
        }
        if (!sawHeader) {
            Fail(File::kSemantics, lineNumber,
                 "Datenzeile vor dem ersten Abschnittskopf: das Laden bricht hier ab.");
            m_semantics.failed = true;
            break;
        }
        if (section.empty()) {
            Fail(File::kSemantics, lineNumber,
                 "Datenzeile in einem Abschnitt ohne Namen (Kopf in Zeile " +
                     std::to_string(headerLine) + "): das Laden bricht hier ab.");
            m_semantics.failed = true;
            break;
        }
        if (parsed.kind == CSemanticsLine::Kind::kMalformed) {
            Fail(File::kSemantics, lineNumber,
                 "Datenzeile mit weniger als drei „:“ (Name:Gewicht:Namenstyp:Listen): das "
                 "Laden bricht hier ab.");
            m_semantics.failed = true;
            break;
        }
        m_nameTypeLines.try_emplace(std::pair(section, std::string(parsed.nameType)), lineNumber);
        CheckWeight(lineNumber, parsed.weight);
        if (checkLists) CheckListNames(lineNumber, parsed.listNames);
    }
    if (reader.Failed()) {
        Fail(File::kSemantics, 0, "Die Semantikdatei lässt sich nicht zu Ende lesen.");
        m_semantics.failed = true;
    }
}

void CDataChecker::CheckLoaded(bool semanticsLoaded) {
    if (m_semantics.readable) CheckAgreement(File::kSemantics, semanticsLoaded, m_semantics);
}

void CDataChecker::CheckNames(const CSemantics& semantics) {
    // Partly loaded or listless tables would make every culture look empty.
    if (!m_semantics.readable || HasErrors() || !m_language.readable) return;
    for (const auto& [cultureName, culture] : semantics.m_cultures) {
        for (const auto& [nameTypeName, nameType] : culture.m_nameTypes) {
            if (MeasureNameType(nameType, m_languageTable).makesNonEmptyNames) continue;
            const auto first = m_nameTypeLines.find(std::pair(cultureName, nameTypeName));
            Fail(File::kSemantics, first == m_nameTypeLines.end() ? 0 : first->second,
                 EmptyNamesMessage(cultureName, nameTypeName));
        }
    }
}

std::vector<CCheckFinding> CDataChecker::Findings() const {
    std::vector<CCheckFinding> sorted = m_findings;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const CCheckFinding& a, const CCheckFinding& b) {
                         return std::pair(a.file, a.line) < std::pair(b.file, b.line);
                     });
    return sorted;
}

bool CDataChecker::HasErrors() const {
    return std::any_of(m_findings.begin(), m_findings.end(), [](const CCheckFinding& f) {
        return f.severity == CCheckFinding::Severity::kError;
    });
}

bool CDataChecker::HasWarnings() const {
    return std::any_of(m_findings.begin(), m_findings.end(), [](const CCheckFinding& f) {
        return f.severity == CCheckFinding::Severity::kWarning;
    });
}

std::string EmptyNamesMessage(const std::string& cultureName, const std::string& nameTypeName) {
    return "Der Namenstyp " + Quoted(nameTypeName) + " der Kultur " + Quoted(cultureName) +
           " ergibt nur leere Namen.";
}

int CDataChecker::ExitCode() const {
    if (!m_init.readable) return 3;
    if (HasErrors()) return 2;
    return HasWarnings() ? 1 : 0;
}
