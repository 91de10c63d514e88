#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "language/FragmentPool.h"
#include "language/NameBuffer.h"
#include "language/RandomSource.h"
#include "settings/Settings.h"

// One named list of fragments: one section of the language file.
class CFragmentList : public CConfigBase {
  public:
    CFragmentList() = default;
    explicit CFragmentList(std::string listName) : CConfigBase(std::move(listName)) {}
    CFragmentList(Detached detached, std::string listName)
        : CConfigBase(detached, std::move(listName)) {}
    CFragmentList(const CFragmentList& other) = default;
    CFragmentList(CFragmentList&& other) noexcept = default;
    CFragmentList& operator=(const CFragmentList& other) = default;
    CFragmentList& operator=(CFragmentList&& other) noexcept = default;
    ~CFragmentList() override = default;

    void Add(std::string fragment);
    // One fragment, each entry equally likely, drawn from the process's
    // source; the empty string, without a draw, when the list has none.
    std::string PickRandom() const;
    // Appends one fragment drawn from `source` to `word`, its first byte
    // upper-cased when `capital` is set; nothing, without a draw, when the
    // list has none.
    void AppendRandom(CNameBuffer& word, bool capital, CRandomSource& source) const;

    // The list as drawing wants it, with or without the capital letter;
    // nullptr when it has no fragments. Made at the first call and shared
    // with copies: patterns ask while their table loads, before any thread
    // draws. A list changed afterwards gets a new one.
    std::shared_ptr<const CFragmentPool> DrawPool(bool capital) const;

    std::vector<std::string> m_fragments;

  private:
    // Shared by copies, which draw alike.
    mutable std::shared_ptr<const CFragmentPool> m_pool;
    mutable std::shared_ptr<const CFragmentPool> m_capitalPool;
};

// All fragment lists, keyed by name. The desktop program has one,
// theLanguageTable, filled by its first Load and unchanged afterwards; each
// data set has one of its own, filled by Read.
class CLanguageTable : public CConfigBase {
  public:
    CLanguageTable() = default;
    explicit CLanguageTable(Detached detached) : CConfigBase(detached, {}) {}
    ~CLanguageTable() override;

    // Reads the language file ("DataDir" followed by "languages") on the first
    // call of the process, even when that read fails; later calls return true
    // at once. False only when that first read met a fragment before any
    // section header.
    bool Load();

    // Reads the language file at `path` into this table, whatever has been
    // read before. False at a fragment before any section header; a file that
    // cannot be opened reads as an empty one.
    bool Read(const std::string& path);

    // The list stored under exactly this name, or nullptr.
    const CFragmentList* Find(std::string_view listName) const;

    // Makes the entry `listName` hold `list`, replacing any earlier
    // list of that name.
    void Store(std::string listName, CFragmentList list);

    // One fragment from each list named, in order, drawn from the process's
    // source; a leading "^" upper-cases the first byte of that piece. Missing
    // and empty lists add nothing.
    std::string MakeWord(const std::vector<std::string>& listNames) const;

    // Byte order; std::less<> looks names up without copying them.
    std::map<std::string, CFragmentList, std::less<>> m_lists;
};

// The desktop program's table, read once per process. Only programs that
// link the process-wide tables have it, never the shared library.
extern CLanguageTable theLanguageTable;

// One element of a pattern's list names: a leading '^' asks for a capital
// first letter, the rest names the list.
struct CListReference {
    std::string_view listName;
    bool capital;
};
inline CListReference ParseListReference(std::string_view element) {
    const bool capital = !element.empty() && element[0] == '^';
    return {element.substr(capital ? 1 : 0), capital};
}
