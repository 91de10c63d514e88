#include "dataset/NameExplainer.h"

#include <charconv>
#include <string_view>

#include "language/LanguageFile.h"
#include "language/NameBuffer.h"
#include "semantics/SemanticsFile.h"
#include "settings/LineReader.h"
#include "settings/SettingsSource.h"
#include "text/Quoted.h"

namespace {

std::string ChangedMessage(const std::string& shownPath) {
    return "Die Datei " + Quoted(shownPath) +
           " hat sich seit dem Laden geändert: woher die Namen stammen, lässt sich nicht sagen.";
}

// Whether `text`, split at every ",", gives `names`, as a pattern splits it.
bool SameListNames(const std::vector<std::string>& names, std::string_view text) {
    std::size_t begin = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t comma = text.find(',', begin);
        const bool last = i + 1 == names.size();
        if ((comma == std::string_view::npos) != last ||
            text.substr(begin, comma - begin) != names[i]) {
            return false;
        }
        begin = comma + 1;
    }
    return !names.empty();
}

void AppendNumber(CNameBuffer& text, std::size_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text.Append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

}  // namespace

bool CNameExplainer::Prepare(const CDataSet& data, const CDataSet::CultureEntry& culture,
                             const CDataSet::NameTypeEntry& nameType, std::string& error) {
    const CPathDisplay& display = data.Source().display;
    const std::string languagePath = DataFilePath(data.Settings(), "languages");
    const std::string semanticsPath = DataFilePath(data.Settings(), "semantics");
    m_language = Escaped(display.Show(languagePath));
    const std::vector<CNamePattern>& patterns = nameType.second.m_patterns;
    for (const CNamePattern& pattern : patterns) {
        for (const std::size_t position : pattern.DrawPositions()) {
            const CListReference reference = ParseListReference(pattern.m_listNames[position]);
            m_fragmentLines.try_emplace(std::string(reference.listName));
        }
    }
    if (!FindFragmentLines(languagePath, data.Lists())) {
        error = ChangedMessage(display.Show(languagePath));
        return false;
    }
    if (!FindPatternLines(semanticsPath, culture, nameType)) {
        error = ChangedMessage(display.Show(semanticsPath));
        return false;
    }
    const std::string semanticsShown = Escaped(display.Show(semanticsPath));
    for (std::size_t k = 0; k < patterns.size(); ++k) {
        const CNamePattern& pattern = patterns[k];
        CPatternLines& shown = m_patterns[k];
        shown.where.insert(0, semanticsShown + ":");
        shown.where += '\t';
        shown.positions.resize(pattern.m_listNames.size());
        for (std::size_t position = 0; position < pattern.m_listNames.size(); ++position) {
            shown.positions[position].prefix = Escaped(pattern.m_listNames[position]) + "=";
        }
        for (const std::size_t position : pattern.DrawPositions()) {
            const CListReference reference = ParseListReference(pattern.m_listNames[position]);
            shown.positions[position].lines = &m_fragmentLines.find(reference.listName)->second;
        }
    }
    return true;
}

bool CNameExplainer::FindFragmentLines(const std::string& path, const CLanguageTable& table) {
    CLineReader reader;
    if (!reader.Open(path)) return false;
    // As the table was read: a later section of a list's name replaces the
    // earlier one. Each wanted list's last section must hold its fragments.
    std::map<std::string_view, bool> same;
    std::vector<std::size_t>* lines = nullptr;
    const CFragmentList* loaded = nullptr;
    bool* sameSoFar = nullptr;
    std::string_view line;
    while (reader.Next(line)) {
        const CLanguageLine parsed = ParseLanguageLine(line);
        if (parsed.kind == CLanguageLine::Kind::kHeader) {
            const auto wanted = m_fragmentLines.find(parsed.text);
            lines = wanted == m_fragmentLines.end() ? nullptr : &wanted->second;
            if (lines == nullptr) continue;
            lines->clear();
            loaded = table.Find(parsed.text);
            sameSoFar = &same[wanted->first];
            *sameSoFar = loaded != nullptr;
        } else if (parsed.kind == CLanguageLine::Kind::kFragment && lines != nullptr) {
            const std::size_t at = lines->size();
            *sameSoFar = *sameSoFar && at < loaded->m_fragments.size() &&
                         loaded->m_fragments[at] == parsed.text;
            lines->push_back(reader.LineNumber());
        }
    }
    if (reader.Failed()) return false;
    for (const auto& [name, fragmentLines] : m_fragmentLines) {
        const auto found = same.find(name);
        if (found == same.end() || !found->second ||
            fragmentLines.size() != table.Find(name)->m_fragments.size()) {
            return false;
        }
    }
    return true;
}

bool CNameExplainer::FindPatternLines(const std::string& path,
                                      const CDataSet::CultureEntry& culture,
                                      const CDataSet::NameTypeEntry& nameType) {
    CLineReader reader;
    if (!reader.Open(path)) return false;
    // As the semantics were read: a culture's later section continues it,
    // and a name type's patterns come in the order of their lines.
    const std::vector<CNamePattern>& patterns = nameType.second.m_patterns;
    m_patterns.clear();
    std::string section;
    std::string_view line;
    while (reader.Next(line)) {
        const CSemanticsLine parsed = ParseSemanticsLine(line);
        if (parsed.kind == CSemanticsLine::Kind::kHeader) {
            section.assign(parsed.section);
        } else if (parsed.kind == CSemanticsLine::Kind::kData && section == culture.first &&
                   parsed.nameType == nameType.first) {
            const std::size_t k = m_patterns.size();
            if (k >= patterns.size() || !SameListNames(patterns[k].m_listNames, parsed.listNames)) {
                return false;
            }
            m_patterns.emplace_back().where = std::to_string(reader.LineNumber());
        }
    }
    return !reader.Failed() && m_patterns.size() == patterns.size();
}

void CNameExplainer::Append(CNameBuffer& text, const CNameMaking& making) const {
    // Only a name type whose weights add up to 0 makes a name without a
    // pattern, and runs refuse it; said all the same.
    if (making.pattern >= m_patterns.size()) {
        text.Append("-\t-");
        return;
    }
    const CPatternLines& pattern = m_patterns[making.pattern];
    text.Append(pattern.where);
    std::size_t draw = 0;
    for (std::size_t position = 0; position < pattern.positions.size(); ++position) {
        const CPosition& shown = pattern.positions[position];
        if (position > 0) text.Push(',');
        text.Append(shown.prefix);
        if (shown.lines == nullptr) {
            text.Push('-');
            continue;
        }
        text.Append(m_language);
        text.Push(':');
        AppendNumber(text, (*shown.lines)[making.fragments[draw++]]);
    }
}
