#include "language/LanguageTable.h"

#include "language/LanguageFile.h"
#include "language/Random.h"
#include "settings/LineReader.h"

// Constructed right after SettingsMap (see Settings.cpp); being the first
// CConfigBase of the process, it reads the settings.
CLanguageTable theLanguageTable __attribute__((init_priority(1001)));

namespace {

// Set by the first Load and never cleared: a failed or partial read is not
// repeated, and every later Load costs this one test.
bool languageLoaded = false;

}  // namespace

void CFragmentList::Add(std::string fragment) { m_fragments.push_back(std::move(fragment)); }

std::string CFragmentList::PickRandom() const {
    if (m_fragments.empty()) {
        return {};
    }
    const auto last = static_cast<std::uint32_t>(m_fragments.size() - 1);
    return m_fragments[RandomInRange(0, last)];
}

void CFragmentList::AppendRandom(std::string& word, bool capital) const {
    if (m_fragments.empty()) {
        return;
    }
    const auto last = static_cast<std::uint32_t>(m_fragments.size() - 1);
    const std::string& piece = m_fragments[RandomInRange(0, last)];
    if (piece.empty()) {
        return;
    }
    const std::size_t start = word.size();
    word += piece;
    if (capital) {
        word[start] = UpperCaseAscii(word[start]);
    }
}

CLanguageTable::~CLanguageTable() = default;

bool CLanguageTable::Load() {
    if (languageLoaded) {
        return true;
    }
    languageLoaded = true;
    return Read(SettingsMap["DataDir"] + SettingsMap["languages"]);
}

bool CLanguageTable::Read(const std::string& path) {
    CLineReader reader;
    if (!reader.Open(path)) {
        return true;
    }
    CFragmentList current;
    bool inSection = false;
    std::string_view line;
    while (reader.Next(line)) {
        const CLanguageLine parsed = ParseLanguageLine(line);
        switch (parsed.kind) {
            case CLanguageLine::Kind::kComment:
                break;
            case CLanguageLine::Kind::kHeader:
                if (inSection) {
                    std::string listName = current.GetName();
                    m_lists.insert_or_assign(std::move(listName), std::move(current));
                }
                current = CFragmentList(std::string(parsed.text));
                inSection = true;
                break;
            case CLanguageLine::Kind::kFragment:
                if (!inSection) {
                    return false;
                }
                current.Add(std::string(parsed.text));
                break;
        }
    }
    if (inSection) {
        std::string listName = current.GetName();
        m_lists.insert_or_assign(std::move(listName), std::move(current));
    }
    return true;
}

const CFragmentList* CLanguageTable::Find(const std::string& listName) const {
    const auto it = m_lists.find(listName);
    return it == m_lists.end() ? nullptr : &it->second;
}

void CLanguageTable::Store(const std::string& listName, const CFragmentList& list) {
    m_lists.insert_or_assign(listName, list);
}

std::string CLanguageTable::MakeWord(std::vector<std::string> listNames) const {
    std::string word;
    for (const std::string& element : listNames) {
        const bool capital = !element.empty() && element[0] == '^';
        const CFragmentList* list = Find(capital ? element.substr(1) : element);
        if (list != nullptr) {
            list->AppendRandom(word, capital);
        }
    }
    return word;
}
