#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

class CFragmentList;
class CLanguageTable;

// Finds the lists that patterns name in one table while a semantics file
// loads, remembering every name it was asked for: a file names the same few
// lists on line after line. Valid while the table does not change.
class CListLookup {
  public:
    // `beforePattern`, where given, runs before each pattern finds its
    // lists: the desktop program loads its table there, at the first one.
    CListLookup(const CLanguageTable& table, void (*beforePattern)());

    void BeforePattern() const {
        if (m_beforePattern != nullptr) m_beforePattern();
    }
    const CFragmentList* Find(std::string_view listName);

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    const CLanguageTable& m_table;
    void (*m_beforePattern)();
    std::unordered_map<std::string, const CFragmentList*, Hash, std::equal_to<>> m_found;
};
