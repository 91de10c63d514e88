#include "language/LanguageTable.h"

#include <cstdint>
#include <string_view>

#include "language/LanguageFile.h"
#include "language/Random.h"
#include "settings/LineReader.h"

namespace {

// Set by the first Load and never cleared: a failed or partial read is not
// repeated, and every later Load costs this one test.
bool languageLoaded = false;

}  // namespace

void CFragmentList::Add(std::string fragment) { m_fragments.push_back(std::move(fragment)); }

void CFragmentList::AppendRandom(CNameBuffer& word, bool capital, CRandomSource& source) const {
    if (m_fragments.empty()) return;
    DrawPool(capital);
    const CFragmentPool* pool = (capital ? m_capitalPool : m_pool).get();
    char* const target = word.Reserve(pool->MostBytes() + CFragmentPool::kPadding);
    word.Commit(pool->Write(target, source.Next()));
}

std::shared_ptr<const CFragmentPool> CFragmentList::DrawPool(bool capital) const {
    std::shared_ptr<const CFragmentPool>& pool = capital ? m_capitalPool : m_pool;
    if (m_fragments.empty()) return nullptr;
    if (pool == nullptr || pool->Count() != m_fragments.size()) {
        pool = std::make_shared<const CFragmentPool>(m_fragments, capital);
    }
    return pool;
}

std::string CFragmentList::PickRandom() const {
    CNameBuffer piece;
    AppendRandom(piece, false, ProcessRandomSource());
    return std::string(piece.View());
}

CLanguageTable::~CLanguageTable() = default;

bool CLanguageTable::Load() {
    if (languageLoaded) {
        return true;
    }
    languageLoaded = true;
    return Read(SettingsMap["DataDir"] + SettingsMap["languages"]);
}

namespace {

// The fragments of the section being read, gathered as bytes and lengths (a
// line holds at most CLineReader::kMaxLineLength bytes). A list's own vector
// is made only when its section ends, at exactly its size: growing it line by
// line would leave up to half of it unused and churn the allocator with every
// doubling, and a std::string is already several times a short fragment.
class CPendingFragments {
  public:
    void Add(std::string_view fragment) {
        m_bytes.append(fragment);
        m_lengths.push_back(static_cast<std::uint16_t>(fragment.size()));
    }

    // Moves the gathered fragments to the end of `fragments`, in order.
    void MoveTo(std::vector<std::string>& fragments) {
        fragments.reserve(fragments.size() + m_lengths.size());
        std::size_t offset = 0;
        for (const std::uint16_t length : m_lengths) {
            fragments.emplace_back(m_bytes, offset, length);
            offset += length;
        }
        m_bytes.clear();
        m_lengths.clear();
    }

  private:
    std::string m_bytes;
    std::vector<std::uint16_t> m_lengths;
};

static_assert(CLineReader::kMaxLineLength <= UINT16_MAX);

}  // namespace

bool CLanguageTable::Read(const std::string& path) {
    CLineReader reader;
    if (!reader.Open(path)) {
        return true;
    }
    // Lists are made while the table loads, when the settings are current.
    CFragmentList current(kDetached, {});
    CPendingFragments pending;
    bool inSection = false;
    const auto storeCurrent = [&] {
        pending.MoveTo(current.m_fragments);
        // Named first: the order in which arguments are made is open.
        std::string listName = current.GetName();
        Store(std::move(listName), std::move(current));
    };
    std::string_view line;
    while (reader.Next(line)) {
        const CLanguageLine parsed = ParseLanguageLine(line);
        switch (parsed.kind) {
            case CLanguageLine::Kind::kComment:
                break;
            case CLanguageLine::Kind::kHeader:
                if (inSection) {
                    storeCurrent();
                }
                current = CFragmentList(kDetached, std::string(parsed.text));
                inSection = true;
                break;
            case CLanguageLine::Kind::kFragment:
                if (!inSection) {
                    return false;
                }
                pending.Add(parsed.text);
                break;
        }
    }
    if (inSection) {
        storeCurrent();
    }
    return true;
}

const CFragmentList* CLanguageTable::Find(std::string_view listName) const {
    const auto it = m_lists.find(listName);
    return it == m_lists.end() ? nullptr : &it->second;
}

void CLanguageTable::Store(std::string listName, CFragmentList list) {
    m_lists.insert_or_assign(std::move(listName), std::move(list));
}

std::string CLanguageTable::MakeWord(const std::vector<std::string>& listNames) const {
    CNameBuffer word;
    for (const std::string& element : listNames) {
        const CListReference reference = ParseListReference(element);
        if (const CFragmentList* list = Find(reference.listName)) {
            list->AppendRandom(word, reference.capital, ProcessRandomSource());
        }
    }
    return std::string(word.View());
}
