#include "semantics/Semantics.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <limits>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "language/LanguageTable.h"
#include "language/Random.h"
#include "semantics/SemanticsFile.h"
#include "settings/LineReader.h"

namespace {

// A negative weight takes no share of the draws.
std::uint32_t EffectiveWeight(std::int32_t weight) {
    return weight > 0 ? static_cast<std::uint32_t>(weight) : 0;
}

// A map's keys in its (byte-wise) order.
template <typename Map>
std::vector<std::string> KeysOf(const Map& map) {
    std::vector<std::string> keys;
    keys.reserve(map.size());
    std::transform(map.begin(), map.end(), std::back_inserter(keys),
                   [](const auto& entry) { return entry.first; });
    return keys;
}

std::uint32_t SaturatingAdd(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t sum = a + b;
    return sum < a ? std::numeric_limits<std::uint32_t>::max() : sum;
}

}  // namespace

// Finds lists in theLanguageTable, remembering every name it was asked for:
// a file names the same few lists on line after line. Valid while the table
// does not change: within one CSemantics::Load, after the first pattern has
// made the table load.
class CListLookup {
  public:
    const CFragmentList* Find(std::string_view listName) {
        const auto it = m_found.find(listName);
        if (it != m_found.end()) {
            return it->second;
        }
        const CFragmentList* list = theLanguageTable.Find(listName);
        m_found.emplace(listName, list);
        return list;
    }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, const CFragmentList*, Hash, std::equal_to<>> m_found;
};

CNamePattern::CNamePattern(std::string label, std::string nameType,
                           const std::string& listNamesText, std::int32_t weight)
    : CConfigBase(std::move(label)), m_nameType(std::move(nameType)), m_weight(weight) {
    theLanguageTable.Load();
    CListLookup lists;
    SetListNames(listNamesText, lists);
}

CNamePattern::CNamePattern(std::string label, std::string nameType, std::string_view listNamesText,
                           std::int32_t weight, CListLookup& lists)
    : CConfigBase(std::move(label)), m_nameType(std::move(nameType)), m_weight(weight) {
    theLanguageTable.Load();
    SetListNames(listNamesText, lists);
}

void CNamePattern::SetListNames(std::string_view text, CListLookup& lists) {
    m_listNames.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1);
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = text.find(',', begin);
        m_listNames.emplace_back(text.substr(begin, comma - begin));
        if (comma == std::string_view::npos) {
            break;
        }
        begin = comma + 1;
    }

    m_positions.reserve(m_listNames.size());
    for (const std::string& element : m_listNames) {
        const CListReference reference = ParseListReference(element);
        m_positions.push_back({lists.Find(reference.listName), reference.capital});
    }
}

CNamePattern::~CNamePattern() = default;

// Draws exactly as theLanguageTable.MakeWord(m_listNames) would, without
// looking each list up again.
std::string CNamePattern::Generate() const {
    std::string word;
    for (const Position& position : m_positions) {
        if (position.list != nullptr) {
            position.list->AppendRandom(word, position.capital);
        }
    }
    return word;
}

CNameType::CNameType() = default;

CNameType::CNameType(std::string nameTypeName) : CConfigBase(std::move(nameTypeName)) {}

CNameType::~CNameType() = default;

void CNameType::AddPattern(const CNamePattern& pattern) { AddPattern(CNamePattern(pattern)); }

void CNameType::AddPattern(CNamePattern&& pattern) {
    m_totalWeight = SaturatingAdd(m_totalWeight, EffectiveWeight(pattern.m_weight));
    m_patterns.push_back(std::move(pattern));
}

void CNameType::RecomputeTotal() {
    m_totalWeight =
        std::accumulate(m_patterns.begin(), m_patterns.end(), std::uint32_t{0},
                        [](std::uint32_t sum, const CNamePattern& pattern) {
                            return SaturatingAdd(sum, EffectiveWeight(pattern.m_weight));
                        });
}

const CNamePattern* CNameType::PickByWeight(std::uint32_t draw) {
    if (draw > m_totalWeight) {
        RecomputeTotal();
        if (draw > m_totalWeight) {
            return nullptr;
        }
    }
    // 64 bits: the running sum may pass the saturated total without wrapping.
    std::uint64_t runningSum = 0;
    for (const CNamePattern& pattern : m_patterns) {
        const std::uint32_t weight = EffectiveWeight(pattern.m_weight);
        runningSum += weight;
        if (weight > 0 && runningSum >= draw) {
            return &pattern;
        }
    }
    return nullptr;
}

std::string CNameType::Generate() {
    if (m_totalWeight == 0) {
        return {};
    }
    const CNamePattern* pattern = PickByWeight(RandomInRange(1, m_totalWeight));
    return pattern == nullptr ? std::string() : pattern->Generate();
}

CCulture::CCulture() = default;

CCulture::CCulture(std::string cultureName) : CConfigBase(std::move(cultureName)) {}

CCulture::~CCulture() = default;

void CCulture::AddPattern(CNamePattern pattern) {
    // The object expression is evaluated before the argument is moved from.
    m_nameTypes.try_emplace(pattern.m_nameType, pattern.m_nameType)
        .first->second.AddPattern(std::move(pattern));
}

std::vector<std::string> CCulture::GetNameTypeNames() const { return KeysOf(m_nameTypes); }

std::string CCulture::Generate(const std::string& nameTypeName) {
    const auto it = m_nameTypes.find(nameTypeName);
    return it == m_nameTypes.end() ? std::string() : it->second.Generate();
}

CSemantics::CSemantics() = default;

CSemantics::~CSemantics() = default;

bool CSemantics::Load() {
    std::string section;
    CLineReader reader;
    if (!reader.Open(SettingsMap["DataDir"] + SettingsMap["semantics"])) {
        return true;
    }
    // The culture of `section`, looked up by the first data line after each
    // header rather than by every line: files keep a culture's lines together.
    CCulture* culture = nullptr;
    CListLookup lists;
    std::string_view line;
    while (reader.Next(line)) {
        const CSemanticsLine parsed = ParseSemanticsLine(line);
        switch (parsed.kind) {
            case CSemanticsLine::Kind::kComment:
                break;
            case CSemanticsLine::Kind::kHeader:
                section.assign(parsed.section);
                culture = nullptr;
                break;
            case CSemanticsLine::Kind::kMalformed:
                return false;
            case CSemanticsLine::Kind::kData: {
                if (section.empty()) {
                    return false;
                }
                CNamePattern pattern(std::string(parsed.label), std::string(parsed.nameType),
                                     parsed.listNames, PatternWeight(parsed.weight), lists);
                if (culture == nullptr) {
                    culture = &CultureForPattern(section);
                }
                culture->AddPattern(std::move(pattern));
                break;
            }
        }
    }
    return true;
}

std::vector<std::string> CSemantics::GetCultureNames() const { return KeysOf(m_cultures); }

std::vector<std::string> CSemantics::GetNameTypeNames(const std::string& cultureName) const {
    const auto it = m_cultures.find(cultureName);
    return it == m_cultures.end() ? std::vector<std::string>() : it->second.GetNameTypeNames();
}

std::string CSemantics::Generate(const std::string& cultureName, const std::string& nameTypeName) {
    const auto it = m_cultures.find(cultureName);
    return it == m_cultures.end() ? std::string() : it->second.Generate(nameTypeName);
}

void CSemantics::AddPattern(const std::string& sectionName, CNamePattern pattern) {
    CultureForPattern(sectionName).AddPattern(std::move(pattern));
}

CCulture& CSemantics::CultureForPattern(const std::string& sectionName) {
    return m_cultures.try_emplace(sectionName, sectionName).first->second;
}
