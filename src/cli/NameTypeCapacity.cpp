#include "cli/NameTypeCapacity.h"

#include <algorithm>
#include <cmath>
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

// One list as a position of a pattern sees it: the capital letter may make
// two fragments equal ("ae" and "Ae").
struct CListView {
    std::uint64_t distinctFragments = 0;
    // The chance of the rarest distinct fragment, as a logarithm.
    double logMinShare = 0.0;
    bool hasNonEmptyFragment = false;
};

CListView ViewList(const CFragmentList& list, bool capital) {
    std::unordered_map<std::string, std::uint64_t> multiplicity;
    for (const std::string& fragment : list.m_fragments) {
        std::string piece = fragment;
        if (capital && !piece.empty()) piece[0] = UpperCaseAscii(piece[0]);
        ++multiplicity[piece];
    }
    CListView view;
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
    const std::uint32_t total = nameType.m_totalWeight;
    if (total == 0) {
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
        std::uint64_t product = 1;
        double logChance =
            std::log(static_cast<double>(effective)) - std::log(static_cast<double>(total));
        for (const std::string& element : pattern.m_listNames) {
            const CListReference reference = ParseListReference(element);
            const CFragmentList* list = table.Find(reference.listName);
            if (list == nullptr || list->m_fragments.empty()) continue;
            const auto key = std::make_pair(list, reference.capital);
            auto found = views.find(key);
            if (found == views.end()) {
                found = views.emplace(key, ViewList(*list, reference.capital)).first;
            }
            const CListView& view = found->second;
            product = SaturatingMultiply(product, view.distinctFragments);
            logChance += view.logMinShare;
            if (view.hasNonEmptyFragment) capacity.makesNonEmptyNames = true;
            positions.push_back(key);
        }
        logMin = anyChosen ? std::min(logMin, logChance) : logChance;
        anyChosen = true;
        if (seenPositions.insert(std::move(positions)).second) {
            capacity.maxDistinctNames = SaturatingAdd(capacity.maxDistinctNames, product);
        }
    }
    capacity.logMinNameProbability = logMin;
    return capacity;
}

std::uint64_t ConsecutiveMissLimit(const CNameTypeCapacity& capacity, std::uint64_t count) {
    constexpr std::uint64_t kFloor = 1000;
    const std::uint64_t ceiling = std::max<std::uint64_t>(SaturatingMultiply(count, 64), 1000000);
    // 40 / p draws leave a name of chance p unseen with probability e^-40.
    const double logNeeded = std::log(40.0) - capacity.logMinNameProbability;
    if (logNeeded >= std::log(static_cast<double>(ceiling))) return ceiling;
    const auto needed = static_cast<std::uint64_t>(std::ceil(std::exp(logNeeded)));
    return std::clamp(needed, kFloor, ceiling);
}
