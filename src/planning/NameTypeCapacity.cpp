#include "planning/NameTypeCapacity.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "language/LanguageTable.h"
#include "semantics/Semantics.h"

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

// A fragment as a position with or without the capital mark adds it.
std::string AsDrawn(const std::string& fragment, bool capital) {
    std::string piece = fragment;
    if (capital && !piece.empty()) piece[0] = UpperCaseAscii(piece[0]);
    return piece;
}

// One list as a position of a pattern sees it: the capital letter may make
// two fragments equal ("ae" and "Ae").
struct CListView {
    std::uint64_t distinctFragments = 0;
    // The chance of the rarest distinct fragment, as a logarithm.
    double logMinShare = 0.0;
    bool hasNonEmptyFragment = false;
    std::uint64_t fewestBytes = kMax;
    std::uint64_t mostBytes = 0;
    double meanBytes = 0.0;
};

CListView ViewList(const CFragmentList& list, bool capital) {
    std::unordered_map<std::string, std::uint64_t> multiplicity;
    CListView view;
    std::uint64_t bytes = 0;
    for (const std::string& fragment : list.m_fragments) {
        ++multiplicity[AsDrawn(fragment, capital)];
        view.fewestBytes = std::min<std::uint64_t>(view.fewestBytes, fragment.size());
        view.mostBytes = std::max<std::uint64_t>(view.mostBytes, fragment.size());
        bytes += fragment.size();
    }
    view.meanBytes = static_cast<double>(bytes) / static_cast<double>(list.m_fragments.size());
    view.distinctFragments = multiplicity.size();
    std::uint64_t rarest = kMax;
    for (const auto& [piece, times] : multiplicity) {
        rarest = std::min(rarest, times);
        if (!piece.empty()) view.hasNonEmptyFragment = true;
    }
    view.logMinShare = std::log(static_cast<double>(rarest)) -
                       std::log(static_cast<double>(list.m_fragments.size()));
    return view;
}

// The patterns that can be chosen, each with its chance and its positions;
// a list that is missing or empty adds nothing to a name and draws nothing.
template <typename Visit>
void ForEachChosenPattern(const CNameType& nameType, const CLanguageTable& table, Visit visit) {
    const std::uint32_t total = nameType.m_totalWeight;
    // The choice walks a running sum up to the total, so a pattern counts
    // only with the part of its weight that lies within the total.
    std::uint64_t runningSum = 0;
    for (const CNamePattern& pattern : nameType.m_patterns) {
        const std::uint64_t weight =
            pattern.m_weight > 0 ? static_cast<std::uint64_t>(pattern.m_weight) : 0;
        const std::uint64_t before = std::min<std::uint64_t>(runningSum, total);
        runningSum += weight;
        const std::uint64_t effective = std::min<std::uint64_t>(runningSum, total) - before;
        if (effective == 0) continue;
        std::vector<std::pair<const CFragmentList*, bool>> positions;
        for (const std::string& element : pattern.m_listNames) {
            const CListReference reference = ParseListReference(element);
            const CFragmentList* list = table.Find(reference.listName);
            if (list != nullptr && !list->m_fragments.empty()) {
                positions.emplace_back(list, reference.capital);
            }
        }
        visit(static_cast<double>(effective) / static_cast<double>(total), positions);
    }
}

}  // namespace

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return (a > kMax - b) ? kMax : a + b;
}

std::uint64_t SaturatingMultiply(std::uint64_t a, std::uint64_t b) {
    if (a == 0 || b == 0) return 0;
    return (a > kMax / b) ? kMax : a * b;
}

CNameTypeCapacity MeasureNameType(const CNameType& nameType, const CLanguageTable& table) {
    CNameTypeCapacity capacity;
    if (nameType.m_totalWeight == 0) {
        // No pattern can be chosen: every name is the empty one.
        capacity.maxDistinctNames = 1;
        return capacity;
    }
    std::map<std::pair<const CFragmentList*, bool>, CListView> views;
    // Patterns whose lists are the same, position by position, make the same
    // names; they count once.
    std::set<std::vector<std::pair<const CFragmentList*, bool>>> seenPositions;
    double logMin = 0.0;
    bool anyChosen = false;
    capacity.fewestBytes = kMax;
    ForEachChosenPattern(nameType, table, [&](double chance, const auto& positions) {
        std::uint64_t product = 1;
        double logChance = std::log(chance);
        std::uint64_t fewest = 0;
        std::uint64_t most = 0;
        for (const auto& key : positions) {
            auto found = views.find(key);
            if (found == views.end()) {
                found = views.emplace(key, ViewList(*key.first, key.second)).first;
            }
            const CListView& view = found->second;
            product = SaturatingMultiply(product, view.distinctFragments);
            logChance += view.logMinShare;
            if (view.hasNonEmptyFragment) capacity.makesNonEmptyNames = true;
            fewest += view.fewestBytes;
            most += view.mostBytes;
            capacity.expectedBytes += chance * view.meanBytes;
        }
        capacity.fewestBytes = std::min(capacity.fewestBytes, fewest);
        capacity.mostBytes = std::max(capacity.mostBytes, most);
        logMin = anyChosen ? std::min(logMin, logChance) : logChance;
        anyChosen = true;
        if (seenPositions.insert(positions).second) {
            capacity.maxDistinctNames = SaturatingAdd(capacity.maxDistinctNames, product);
        }
    });
    capacity.logMinNameProbability = logMin;
    return capacity;
}

namespace {

// One position of a pattern: its distinct fragments (after the capital
// letter) with the chance of each.
using CPositionChoices = std::vector<std::pair<std::string, double>>;

CPositionChoices ChoicesOf(const CFragmentList& list, bool capital) {
    std::map<std::string, double> shares;
    const double each = 1.0 / static_cast<double>(list.m_fragments.size());
    for (const std::string& fragment : list.m_fragments) shares[AsDrawn(fragment, capital)] += each;
    return {shares.begin(), shares.end()};
}

// False when `visit` ended the walk.
bool JoinAll(const std::vector<CPositionChoices>& positions, std::size_t at, std::string& name,
             double chance, const std::function<bool(const std::string&, double)>& visit) {
    if (at == positions.size()) return visit(name, chance);
    const std::size_t length = name.size();
    for (const auto& [piece, share] : positions[at]) {
        name += piece;
        const bool going = JoinAll(positions, at + 1, name, chance * share, visit);
        name.resize(length);
        if (!going) return false;
    }
    return true;
}

}  // namespace

bool ForEachJoin(const CNameType& nameType, const CLanguageTable& table, std::uint64_t limit,
                 const std::function<void(const std::string& name, double chance)>& visit) {
    return ForEachJoinUntil(nameType, table, limit, [&](const std::string& name, double chance) {
        visit(name, chance);
        return true;
    });
}

bool ForEachJoinUntil(const CNameType& nameType, const CLanguageTable& table, std::uint64_t limit,
                      const std::function<bool(const std::string& name, double chance)>& visit) {
    if (nameType.m_totalWeight == 0) {
        visit(std::string(), 1.0);
        return true;
    }
    std::vector<std::pair<double, std::vector<CPositionChoices>>> patterns;
    std::uint64_t joins = 0;
    ForEachChosenPattern(nameType, table, [&](double chance, const auto& positions) {
        std::vector<CPositionChoices> choices;
        std::uint64_t product = 1;
        for (const auto& [list, capital] : positions) {
            choices.push_back(ChoicesOf(*list, capital));
            product = SaturatingMultiply(product, choices.back().size());
        }
        joins = SaturatingAdd(joins, product);
        patterns.emplace_back(chance, std::move(choices));
    });
    if (joins > limit) return false;
    std::string name;
    for (const auto& [chance, choices] : patterns) {
        if (!JoinAll(choices, 0, name, chance, visit)) break;
    }
    return true;
}

std::vector<CChosenPattern> ChosenPatterns(const CNameType& nameType, const CLanguageTable& table) {
    std::vector<CChosenPattern> patterns;
    ForEachChosenPattern(nameType, table, [&](double chance, const auto& positions) {
        patterns.push_back({chance, positions});
    });
    return patterns;
}
