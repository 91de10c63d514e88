#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Settings.h"

class CFragmentList;
class CListLookup;

// One data line of the semantics file: a weighted alternative of a name type,
// naming the fragment lists whose fragments make a name.
class CNamePattern : public CConfigBase {
  public:
    // `weight` is already corrected from 0 to 10 by the caller. Loads the
    // language table first (once per process).
    CNamePattern(std::string label, std::string nameType, const std::string& listNamesText,
                 std::int32_t weight);
    ~CNamePattern() override;
    CNamePattern(const CNamePattern& other) = default;
    CNamePattern(CNamePattern&& other) noexcept = default;
    CNamePattern& operator=(const CNamePattern& other) = default;
    CNamePattern& operator=(CNamePattern&& other) noexcept = default;

    std::string GetNameType() const { return m_nameType; }
    std::int32_t GetWeight() const { return m_weight; }
    // A name made from this pattern's lists in theLanguageTable.
    std::string Generate() const;

    std::string m_nameType;
    std::int32_t m_weight;
    std::vector<std::string> m_listNames;

  private:
    friend class CSemantics;
    // As the public constructor, finding the lists through `lists`.
    CNamePattern(std::string label, std::string nameType, std::string_view listNamesText,
                 std::int32_t weight, CListLookup& lists);
    // Splits the list-names text at every "," and finds each list through
    // `lists`.
    void SetListNames(std::string_view text, CListLookup& lists);

    // m_listNames looked up once: the language table never changes after its
    // load, which the constructor has made happen.
    struct Position {
        const CFragmentList* list;  // nullptr: the list does not exist
        bool capital;
    };
    std::vector<Position> m_positions;
};

// All patterns of one name type within one culture.
class CNameType : public CConfigBase {
  public:
    CNameType();
    explicit CNameType(std::string nameTypeName);
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
    // A name of this type; the empty string, without a draw, when no pattern
    // can be chosen (all weights 0 or negative).
    std::string Generate();

    // The sum of the weights, where a negative weight counts as 0 and a sum
    // beyond the 32-bit range stops at its end, so that a draw from 1 to the
    // total always lands on a pattern.
    std::uint32_t m_totalWeight = 0;
    std::vector<CNamePattern> m_patterns;
};

// One section of the semantics file.
class CCulture : public CConfigBase {
  public:
    CCulture();
    explicit CCulture(std::string cultureName);
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
    ~CSemantics() override;
    CSemantics(const CSemantics& other) = default;
    CSemantics(CSemantics&& other) noexcept = default;
    CSemantics& operator=(const CSemantics& other) = default;
    CSemantics& operator=(CSemantics&& other) noexcept = default;

    // Reads the semantics file ("DataDir" followed by "semantics"). False at a
    // data line outside a named section or with fewer than three ":"; the
    // patterns before that line stay. A file that cannot be opened reads as
    // an empty one.
    bool Load();

    std::vector<std::string> GetCultureNames() const;
    // Empty for a culture that is not in the table.
    std::vector<std::string> GetNameTypeNames(const std::string& cultureName) const;
    // The empty string, without a draw, when the culture or the name type is
    // not in the table.
    std::string Generate(const std::string& cultureName, const std::string& nameTypeName);

    void AddPattern(const std::string& sectionName, CNamePattern pattern);

    std::map<std::string, CCulture> m_cultures;

  private:
    // The culture stored under `sectionName`, made empty when there is none.
    CCulture& CultureForPattern(const std::string& sectionName);
};

// Reads a weight field as the C library's atoi does (leading white space, a
// sign, the digits up to the first non-digit, no digits giving 0), except that
// a number beyond the 32-bit signed range stops at its end instead of wrapping.
std::int32_t ParseWeight(std::string_view field);
