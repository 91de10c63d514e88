#include "dataset/DataSet.h"

#include "checking/DataChecker.h"
#include "text/Quoted.h"
#include "text/TextReading.h"

namespace {

template <typename Map>
const typename Map::value_type* FindByReading(const Map& map, std::string_view argument) {
    const std::string text(argument);
    const auto found = map.find(text);
    if (found != map.end()) return &*found;
    if (!IsValidUtf8(text)) return nullptr;
    for (const auto& entry : map) {
        if (!IsValidUtf8(entry.first) && Windows1252ToUtf8(entry.first) == text) return &entry;
    }
    return nullptr;
}

std::vector<std::string> ErrorLines(const CDataChecker& checker) {
    std::vector<std::string> errors;
    for (const CCheckFinding& finding : checker.Findings()) {
        if (finding.severity == CCheckFinding::Severity::kError) {
            errors.push_back(FormatFinding(finding, false));
        }
    }
    return errors;
}

}  // namespace

CDataSet::CDataSet(CSettingsSource source)
    : m_source(std::move(source)),
      m_lists(CConfigBase::kDetached),
      m_semantics(CConfigBase::kDetached) {}

std::unique_ptr<const CDataSet> CDataSet::Load(const CSettingsSource& source,
                                               std::vector<std::string>& errors) {
    // Names from broken data would be quietly wrong: what stops them is
    // reported as --check would. The line checks run on the settings, which
    // they read; loading fails on every error the line checks of the data
    // files find, so only a failed load has those read again, for the lines
    // to report.
    CDataChecker checker(source);
    checker.CheckSettings();
    if (checker.HasErrors()) {
        errors = ErrorLines(checker);
        return nullptr;
    }
    std::unique_ptr<CDataSet> data(new CDataSet(source));
    data->m_settings = checker.Settings();
    const bool languageLoaded = data->m_lists.Read(checker.LanguagePath());
    const bool semanticsLoaded = data->m_semantics.Read(checker.SemanticsPath(), data->m_lists);
    if (!languageLoaded || !semanticsLoaded) {
        checker.CheckDataFiles();
        checker.CheckLoaded(semanticsLoaded);
        errors = ErrorLines(checker);
        return nullptr;
    }
    return data;
}

const CDataSet::CultureEntry* CDataSet::FindCulture(std::string_view argument) const {
    return FindByReading(m_semantics.m_cultures, argument);
}

const CDataSet::NameTypeEntry* CDataSet::FindNameType(const CultureEntry& culture,
                                                      std::string_view argument) {
    return FindByReading(culture.second.m_nameTypes, argument);
}

std::string CDataSet::Listing(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += "\n  " + Escaped(name);
    return text;
}

std::string CDataSet::UnknownCultureMessage(std::string_view argument) const {
    const std::vector<std::string> known = m_semantics.GetCultureNames();
    return "Unbekannte Kultur " + Quoted(argument) +
           (known.empty() ? ". Die Daten enthalten keine Kultur."
                          : ". Bekannt sind:" + Listing(known));
}

std::string CDataSet::UnknownNameTypeMessage(const CultureEntry& culture,
                                             std::string_view argument) {
    return "Unbekannter Namenstyp " + Quoted(argument) + " in der Kultur " + Quoted(culture.first) +
           ". Bekannt sind:" + Listing(culture.second.GetNameTypeNames());
}
