#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "dataset/DataSet.h"

class CNameBuffer;
struct CNameMaking;

// Says where a name came from, for --explain: the line of the pattern drawn
// in the semantics file and, for each position of the pattern, the line of
// the fragment drawn in the language file.
//
// The lines are found by reading the two files once more, not kept when a
// data set loads: a line number for every fragment would cost every load
// (and the desktop program) four to eight bytes a fragment, 80 MB and more
// for a language file of 20 million fragments, for what few runs ask. Read
// again, only the lists of one name type are kept, and the second read costs
// no more than the first.
class CNameExplainer {
  public:
    // Finds the lines of `nameType`'s patterns and of the fragments of their
    // lists. False, with a German message, when the files no longer hold
    // what `data` loaded from them.
    bool Prepare(const CDataSet& data, const CDataSet::CultureEntry& culture,
                 const CDataSet::NameTypeEntry& nameType, std::string& error);

    // Appends "SEMANTICS:LINE<TAB>LIST=LANGUAGE:LINE,..." for a name made as
    // `making` says: one LIST=... a position of the pattern, LIST=- for a
    // list that is missing or empty. Files and list names are escaped as the
    // messages escape them.
    void Append(CNameBuffer& text, const CNameMaking& making) const;

  private:
    // One position of a pattern: "LIST=" as shown, and the lines of its
    // list's fragments; none for a list that draws nothing.
    struct CPosition {
        std::string prefix;
        const std::vector<std::size_t>* lines = nullptr;
    };
    struct CPatternLines {
        std::string where;  // "SEMANTICS:LINE\t"
        std::vector<CPosition> positions;
    };

    bool FindPatternLines(const std::string& path, const CDataSet::CultureEntry& culture,
                          const CDataSet::NameTypeEntry& nameType);
    bool FindFragmentLines(const std::string& path, const CLanguageTable& table);

    std::string m_language;  // as shown
    std::vector<CPatternLines> m_patterns;
    // The lines of the fragments of every list the name type names, by name.
    std::map<std::string, std::vector<std::size_t>, std::less<>> m_fragmentLines;
};
