#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "language/FragmentPool.h"
#include "language/NameBuffer.h"
#include "language/RandomSource.h"
#include "settings/Settings.h"

class CFragmentList;
class CLanguageTable;
class CListLookup;

// What one name was made of, as its draws note it: the pattern chosen (its
// index in the name type's m_patterns) and, for each list of that pattern
// that draws, in order, the index of the fragment drawn in the list as
// loaded.
struct CNameMaking {
    static constexpr std::size_t kNoPattern = static_cast<std::size_t>(-1);

    void Pattern(std::size_t index) {
        pattern = index;
        fragments.clear();
    }
    void Fragment(std::uint32_t at) { fragments.push_back(at); }

    std::size_t pattern = kNoPattern;
    std::vector<std::uint32_t> fragments;
};

// Notes nothing: how names are drawn when nobody asks how they were made,
// which the compiler reduces to the draws alone.
struct CUnnotedMaking {
    void Pattern(std::size_t /*index*/) {}
    void Fragment(std::uint32_t /*at*/) {}
};

// One data line of the semantics file: a weighted alternative of a name type,
// naming the fragment lists whose fragments make a name.
class CNamePattern : public CConfigBase {
  public:
    // `weight` is already corrected from 0 to 10 by the caller. Loads
    // theLanguageTable first (once per process) and finds its lists there.
    CNamePattern(std::string label, std::string nameType, const std::string& listNamesText,
                 std::int32_t weight);
    ~CNamePattern() override;
    CNamePattern(const CNamePattern& other) = default;
    CNamePattern(CNamePattern&& other) noexcept = default;
    CNamePattern& operator=(const CNamePattern& other) = default;
    CNamePattern& operator=(CNamePattern&& other) noexcept = default;

    std::string GetNameType() const { return m_nameType; }
    std::int32_t GetWeight() const { return m_weight; }
    // A name made from this pattern's lists, drawn from the process's source:
    // one draw a list that has fragments, in order.
    std::string Generate() const;

    // The most bytes a name of this pattern can have.
    std::size_t MostBytes() const { return m_mostBytes; }
    // Writes a name drawn from `draws` at `target`, which has room for
    // MostBytes() + CFragmentPool::kPadding bytes; returns where it ends.
    // Each fragment drawn goes to `note` (CNameMaking) by its index.
    template <typename Note = CUnnotedMaking>
    char* Write(char* target, CRandomSource::Cursor& draws, Note&& note = Note()) const {
        for (const std::shared_ptr<const CFragmentPool>& pool : m_draws) {
            const std::uint32_t at = pool->Pick(draws.Next());
            note.Fragment(at);
            target = pool->WriteAt(target, at);
        }
        return target;
    }
    // For each list that draws, in order, its position in m_listNames: a
    // list that is missing or empty draws nothing and has none.
    const std::vector<std::size_t>& DrawPositions() const { return m_drawPositions; }
    // The lists that draw, in order, as drawing sees them.
    const std::vector<std::shared_ptr<const CFragmentPool>>& DrawPools() const { return m_draws; }

    std::string m_nameType;
    std::int32_t m_weight;
    std::vector<std::string> m_listNames;

  private:
    friend class CSemantics;
    // As the public constructor, finding the lists through `lists`; made
    // while its semantics loads, it reads no settings.
    CNamePattern(std::string label, std::string nameType, std::string_view listNamesText,
                 std::int32_t weight, CListLookup& lists);
    // Splits the list-names text at every "," and finds each list through
    // `lists`.
    void SetListNames(std::string_view text, CListLookup& lists);

    // The lists that draw, in order, as their table held them when the
    // pattern was made: a missing or empty list draws nothing and adds
    // nothing.
    std::vector<std::shared_ptr<const CFragmentPool>> m_draws;
    std::vector<std::size_t> m_drawPositions;
    std::size_t m_mostBytes = 0;
};

class CJoinNumbering;

// All patterns of one name type within one culture.
class CNameType : public CConfigBase {
  public:
    CNameType();
    explicit CNameType(std::string nameTypeName);
    CNameType(Detached detached, std::string nameTypeName);
    ~CNameType() override;
    CNameType(const CNameType& other) = default;
    CNameType(CNameType&& other) noexcept = default;
    CNameType& operator=(const CNameType& other) = default;
    CNameType& operator=(CNameType&& other) noexcept = default;

    void AddPattern(const CNamePattern& pattern);
    void AddPattern(CNamePattern&& pattern);
    // Sets m_totalWeight to the sum of the patterns' weights.
    void RecomputeTotal();
    // The pattern at which the running sum of weights first reaches `draw`,
    // or nullptr when `draw` exceeds the total.
    const CNamePattern* PickByWeight(std::uint32_t draw);
    // The same without recomputing the total, which AddPattern keeps.
    const CNamePattern* PatternForDraw(std::uint32_t draw) const;
    // A name of this type, drawn from the process's source; the empty string,
    // without a draw, when no pattern can be chosen (all weights 0 or
    // negative).
    std::string Generate();
    // Whether some pattern that can be chosen makes a name that is not empty,
    // by the lists as the patterns found them.
    bool MakesNonEmptyNames() const;
    // Appends `count` names of this type drawn from `source` to `names`, each
    // followed by an LF when `lineEnds` is set: for each, one draw for the
    // pattern, then one a list; an empty name, without a draw, when no
    // pattern can be chosen. Where the names stream out.
    void AppendNames(CNameBuffer& names, CRandomSource& source, std::uint64_t count,
                     bool lineEnds) const;
    // Appends one name as AppendNames does, without a line end, and notes in
    // `making` what it was made of: the same draws, the same name.
    void AppendName(CNameBuffer& names, CRandomSource& source, CNameMaking& making) const;
    // Appends names as AppendNames does and notes their numbers in
    // `numbering`, prepared for this name type.
    void AppendNames(CNameBuffer& names, CRandomSource& source, std::uint64_t count, bool lineEnds,
                     CJoinNumbering& numbering) const;

    // The sum of the weights, where a negative weight counts as 0 and a sum
    // beyond the 32-bit range stops at its end, so that a draw from 1 to the
    // total always lands on a pattern.
    std::uint32_t m_totalWeight = 0;
    std::vector<CNamePattern> m_patterns;

  private:
    // The one way names are drawn, for AppendNames and AppendName.
    template <typename Note>
    void Append(CNameBuffer& names, CRandomSource& source, std::uint64_t count, bool lineEnds,
                Note& note) const;

    // Kept by AddPattern and RecomputeTotal: m_totalWeight as a divisor, and
    // the running sum of the weights at each pattern, for a choice by
    // binary search.
    CDivisor m_totalDivisor;
    std::vector<std::uint64_t> m_runningSums;
};

// One section of the semantics file.
class CCulture : public CConfigBase {
  public:
    CCulture();
    explicit CCulture(std::string cultureName);
    CCulture(Detached detached, std::string cultureName);
    ~CCulture() override;
    CCulture(const CCulture& other) = default;
    CCulture(CCulture&& other) noexcept = default;
    CCulture& operator=(const CCulture& other) = default;
    CCulture& operator=(CCulture&& other) noexcept = default;

    void AddPattern(CNamePattern pattern);
    std::vector<std::string> GetNameTypeNames() const;
    // The empty string when the name type is not in this culture.
    std::string Generate(const std::string& nameTypeName);

    std::map<std::string, CNameType> m_nameTypes;
};

// Everything read from one semantics file.
class CSemantics : public CConfigBase {
  public:
    CSemantics();
    explicit CSemantics(Detached detached);
    ~CSemantics() override;
    CSemantics(const CSemantics& other) = default;
    CSemantics(CSemantics&& other) noexcept = default;
    CSemantics& operator=(const CSemantics& other) = default;
    CSemantics& operator=(CSemantics&& other) noexcept = default;

    // Reads the semantics file ("DataDir" followed by "semantics"), its
    // patterns naming the lists of theLanguageTable, which the first pattern
    // loads. False at a data line outside a named section or with fewer than
    // three ":"; the patterns before that line stay. A file that cannot be
    // opened reads as an empty one.
    bool Load();
    // The same for the semantics file at `path`, whose patterns name the
    // lists of `table`, which must outlive these tables and stay unchanged.
    bool Read(const std::string& path, const CLanguageTable& table);

    std::vector<std::string> GetCultureNames() const;
    // Empty for a culture that is not in the table.
    std::vector<std::string> GetNameTypeNames(const std::string& cultureName) const;
    // The empty string, without a draw, when the culture or the name type is
    // not in the table.
    std::string Generate(const std::string& cultureName, const std::string& nameTypeName);

    void AddPattern(const std::string& sectionName, CNamePattern pattern);

    std::map<std::string, CCulture> m_cultures;

  private:
    bool Read(const std::string& path, CListLookup& lists);
    // The culture stored under `sectionName`, made empty when there is none.
    CCulture& CultureForPattern(const std::string& sectionName);
};

// Reads a weight field as the C library's atoi does (leading white space, a
// sign, the digits up to the first non-digit, no digits giving 0), except that
// a number beyond the 32-bit signed range stops at its end instead of wrapping.
std::int32_t ParseWeight(std::string_view field);
