#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CAvoidList;
class CLanguageTable;
class CNameFilter;
class CNameType;

// What is known before the first draw about a request for names: whether
// the data can meet it at all, and when drawing gives up.
struct CDrawPlan {
    // Set when the request is refused before drawing: what makes it
    // impossible.
    std::string refusal;
    // Draws in a row that print nothing before the run gives up; 0 when
    // every draw prints (no filter, no --unique).
    std::uint64_t missLimit = 0;
    // The distinct names that fit, where every join could be counted.
    bool counted = false;
    std::uint64_t fittingNames = 0;
    // Otherwise an upper bound of the distinct names.
    std::uint64_t maxNames = 0;
    // The chance that one draw fits, where counted; with avoid lists, where
    // it is large, only a lower bound (fitChanceIsBound).
    double fitChance = 1.0;
    bool fitChanceIsBound = false;
    // The chance of the rarest fitting name, per draw (a lower bound where
    // not counted).
    double leastChance = 1.0;
};

// Plans `count` names of `nameType` (described in messages as `what`, such
// as "Der Namenstyp „T“ der Kultur „K“"), filtered by `filter`, without the
// names `avoid` (finished, or null) avoids, all different when `unique`. A
// caller that keeps every name, at `keptBytesPerName` bytes each besides its
// own, has a count refused that cannot fit in memory. An avoided name does
// not fit: where the names are counted, the count leaves it out.
CDrawPlan PlanDraws(const CNameType& nameType, const CLanguageTable& table,
                    const CNameFilter& filter, bool unique, std::uint64_t count,
                    std::size_t keptBytesPerName, const std::string& what,
                    const CAvoidList* avoid = nullptr);

// The message for a run that gave up after `written` of `count` names.
std::string GaveUpMessage(const CDrawPlan& plan, bool unique, std::uint64_t written,
                          std::uint64_t count);
