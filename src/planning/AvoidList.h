#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "planning/ContainsMatcher.h"
#include "planning/FoldedTextSet.h"

// The names a user never wants to see: from --avoid, a name equal to an entry;
// from --avoid-containing, a name that holds an entry anywhere. Entries and
// names compare as the filters compare them (NameFilter.h): read as shown,
// case folded.
class CAvoidList {
  public:
    // Adds the entries of an avoid file: one a line, by the data files' line
    // rule (LineReader.h: white space before a line, blank lines and comments
    // skipped), blanks after an entry no part of it, each line read as shown
    // on its own. False with a German message naming `path` when the file is
    // missing, a folder, not readable to its end, or saved in a form the line
    // rule cannot read (UTF-16, UTF-32, CR alone as line end); nothing of such
    // a file is added.
    bool AddExactFile(const std::string& path, std::string& error);
    bool AddContainingFile(const std::string& path, std::string& error);

    // One entry, as bytes a name could be made of.
    void AddExact(std::string_view entry);
    void AddContaining(std::string_view entry);

    // Makes the entries added so far ready for Avoids; call it after the last
    // Add and before the first Avoids.
    void Finish();

    // Whether a name is avoided, given its folded reading (FoldedReading in
    // CaseFolding.h).
    bool Avoids(std::u32string_view folded) const {
        return m_exact.Contains(folded) || (!m_matcher.Empty() && m_matcher.FindsIn(folded));
    }

    bool Empty() const { return m_exact.Size() == 0 && !HasContaining(); }
    bool HasContaining() const { return !m_containing.empty(); }
    std::size_t ExactCount() const { return m_exact.Size(); }

    // Whether any exact entry passes `couldBeName`, which is given folded
    // entries: a planner that knows what names a type can make (their lengths,
    // a filter) tells by it whether --avoid can lower its count at all.
    template <typename Predicate>
    bool AnyExact(Predicate couldBeName) const {
        return m_exact.AnyOf(couldBeName);
    }

  private:
    CFoldedTextSet m_exact;
    std::vector<std::u32string> m_containing;
    CContainsMatcher m_matcher;
    bool m_matcherBuilt = true;  // the matcher holds every containing entry
};
