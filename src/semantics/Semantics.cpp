#include "semantics/Semantics.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <numeric>
#include <string_view>

#include "language/LanguageTable.h"
#include "language/Random.h"
#include "semantics/JoinNumbering.h"
#include "semantics/ListLookup.h"
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

CListLookup::CListLookup(const CLanguageTable& table, void (*beforePattern)())
    : m_table(table), m_beforePattern(beforePattern) {}

const CFragmentList* CListLookup::Find(std::string_view listName) {
    const auto it = m_found.find(listName);
    if (it != m_found.end()) {
        return it->second;
    }
    const CFragmentList* list = m_table.Find(listName);
    m_found.emplace(listName, list);
    return list;
}

CNamePattern::CNamePattern(std::string label, std::string nameType, std::string_view listNamesText,
                           std::int32_t weight, CListLookup& lists)
    : CConfigBase(kDetached, std::move(label)), m_nameType(std::move(nameType)), m_weight(weight) {
    lists.BeforePattern();
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

    for (std::size_t position = 0; position < m_listNames.size(); ++position) {
        const CListReference reference = ParseListReference(m_listNames[position]);
        if (const CFragmentList* list = lists.Find(reference.listName)) {
            if (std::shared_ptr<const CFragmentPool> pool = list->DrawPool(reference.capital)) {
                m_mostBytes += pool->MostBytes();
                m_draws.push_back(std::move(pool));
                m_drawPositions.push_back(position);
            }
        }
    }
}

CNamePattern::~CNamePattern() = default;

std::string CNamePattern::Generate() const {
    CNameBuffer word;
    char* const target = word.Reserve(m_mostBytes + CFragmentPool::kPadding);
    CRandomSource::Cursor draws(ProcessRandomSource());
    word.Commit(Write(target, draws));
    return std::string(word.View());
}

CNameType::CNameType() = default;

CNameType::CNameType(std::string nameTypeName) : CConfigBase(std::move(nameTypeName)) {}

CNameType::CNameType(Detached detached, std::string nameTypeName)
    : CConfigBase(detached, std::move(nameTypeName)) {}

CNameType::~CNameType() = default;

void CNameType::AddPattern(const CNamePattern& pattern) { AddPattern(CNamePattern(pattern)); }

void CNameType::AddPattern(CNamePattern&& pattern) {
    m_totalWeight = SaturatingAdd(m_totalWeight, EffectiveWeight(pattern.m_weight));
    m_totalDivisor = CDivisor(m_totalWeight);
    m_runningSums.push_back((m_runningSums.empty() ? 0 : m_runningSums.back()) +
                            EffectiveWeight(pattern.m_weight));
    m_patterns.push_back(std::move(pattern));
}

void CNameType::RecomputeTotal() {
    m_totalWeight = 0;
    m_runningSums.clear();
    std::uint64_t runningSum = 0;
    for (const CNamePattern& pattern : m_patterns) {
        m_totalWeight = SaturatingAdd(m_totalWeight, EffectiveWeight(pattern.m_weight));
        runningSum += EffectiveWeight(pattern.m_weight);
        m_runningSums.push_back(runningSum);
    }
    m_totalDivisor = CDivisor(m_totalWeight);
}

const CNamePattern* CNameType::PickByWeight(std::uint32_t draw) {
    if (draw > m_totalWeight) {
        RecomputeTotal();
        if (draw > m_totalWeight) {
            return nullptr;
        }
    }
    return PatternForDraw(draw);
}

const CNamePattern* CNameType::PatternForDraw(std::uint32_t draw) const {
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

bool CNameType::MakesNonEmptyNames() const {
    // A pattern takes part only with the share of its weight that lies
    // within the total, which may have stopped at the end of its range.
    std::uint64_t runningSum = 0;
    for (const CNamePattern& pattern : m_patterns) {
        const std::uint64_t before = std::min<std::uint64_t>(runningSum, m_totalWeight);
        runningSum += EffectiveWeight(pattern.m_weight);
        if (std::min<std::uint64_t>(runningSum, m_totalWeight) > before &&
            pattern.MostBytes() > 0) {
            return true;
        }
    }
    return false;
}

void CNameType::AppendNames(CNameBuffer& names, CRandomSource& source, std::uint64_t count,
                            bool lineEnds) const {
    CUnnotedMaking nothing;
    Append(names, source, count, lineEnds, nothing);
}

void CNameType::AppendName(CNameBuffer& names, CRandomSource& source, CNameMaking& making) const {
    Append(names, source, 1, false, making);
}

void CNameType::AppendNames(CNameBuffer& names, CRandomSource& source, std::uint64_t count,
                            bool lineEnds, CJoinNumbering& numbering) const {
    Append(names, source, count, lineEnds, numbering);
}

template <typename Note>
void CNameType::Append(CNameBuffer& names, CRandomSource& source, std::uint64_t count,
                       bool lineEnds, Note& note) const {
    if (m_totalWeight == 0) {
        for (std::uint64_t i = 0; i < count; ++i) {
            note.Pattern(CNameMaking::kNoPattern);
            if (lineEnds) names.Push('\n');
        }
        return;
    }
    // Tables changed by hand since AddPattern choose the slow way, as
    // PickByWeight does.
    const bool kept =
        m_totalDivisor.Value() == m_totalWeight && m_runningSums.size() == m_patterns.size();
    CRandomSource::Cursor draws(source);
    char* target = names.Reserve(0);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t draw =
            1 + (kept ? m_totalDivisor.Remainder(draws.Next()) : draws.Next() % m_totalWeight);
        const CNamePattern* pattern = nullptr;
        if (kept) {
            // The first running sum that reaches the draw: its pattern has a
            // weight, as the sum before it does not reach the draw.
            const auto reached = std::lower_bound(m_runningSums.begin(), m_runningSums.end(), draw);
            if (reached != m_runningSums.end())
                pattern = &m_patterns[reached - m_runningSums.begin()];
        } else {
            pattern = PatternForDraw(draw);
        }
        note.Pattern(pattern != nullptr ? static_cast<std::size_t>(pattern - m_patterns.data())
                                        : CNameMaking::kNoPattern);
        const std::size_t room =
            (pattern != nullptr ? pattern->MostBytes() + CFragmentPool::kPadding : 0) + 1;
        if (static_cast<std::size_t>(names.Limit() - target) < room) {
            names.Commit(target);
            target = names.Reserve(room);
        }
        if (pattern != nullptr) target = pattern->Write(target, draws, note);
        if (lineEnds) *target++ = '\n';
    }
    names.Commit(target);
}

CCulture::CCulture() = default;

CCulture::CCulture(std::string cultureName) : CConfigBase(std::move(cultureName)) {}

CCulture::CCulture(Detached detached, std::string cultureName)
    : CConfigBase(detached, std::move(cultureName)) {}

CCulture::~CCulture() = default;

void CCulture::AddPattern(CNamePattern pattern) {
    // Name types are made while their semantics loads, when the settings are
    // current. The object expression is evaluated before the argument is
    // moved from.
    m_nameTypes.try_emplace(pattern.m_nameType, kDetached, pattern.m_nameType)
        .first->second.AddPattern(std::move(pattern));
}

std::vector<std::string> CCulture::GetNameTypeNames() const { return KeysOf(m_nameTypes); }

std::string CCulture::Generate(const std::string& nameTypeName) {
    const auto it = m_nameTypes.find(nameTypeName);
    return it == m_nameTypes.end() ? std::string() : it->second.Generate();
}

CSemantics::CSemantics() = default;

CSemantics::CSemantics(Detached detached) : CConfigBase(detached, {}) {}

CSemantics::~CSemantics() = default;

bool CSemantics::Read(const std::string& path, const CLanguageTable& table) {
    CListLookup lists(table, nullptr);
    return Read(path, lists);
}

bool CSemantics::Read(const std::string& path, CListLookup& lists) {
    std::string section;
    CLineReader reader;
    if (!reader.Open(path)) {
        return true;
    }
    // The culture of `section`, looked up by the first data line after each
    // header rather than by every line: files keep a culture's lines together.
    CCulture* culture = nullptr;
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
    return m_cultures.try_emplace(sectionName, kDetached, sectionName).first->second;
}
