#include "planning/DrawPlan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "planning/AvoidList.h"
#include "planning/MemoryBudget.h"
#include "planning/NameFilter.h"
#include "planning/NameTypeCapacity.h"
#include "text/CaseFolding.h"
#include "text/Quoted.h"

namespace {

// "einen Namen", "16 verschiedene Namen".
std::string NamesPhrase(std::uint64_t count) {
    return count == 1 ? "einen Namen" : std::to_string(count) + " verschiedene Namen";
}

std::string Chance(double chance) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", chance);
    return text;
}

// Why no name fits, given the filters that some name passes on its own
// (`passedAlone`) of those asked.
std::string NothingFits(const CNameFilterOptions& options, unsigned asked, unsigned passedAlone,
                        const std::string& what) {
    const unsigned failing = asked & ~passedAlone;
    const std::string& none = what;
    if ((failing & CNameFilter::kStartsWith) != 0) {
        return none + " ergibt keinen Namen, der mit " + Quoted(*options.startsWith) + " beginnt.";
    }
    if ((failing & CNameFilter::kEndsWith) != 0) {
        return none + " ergibt keinen Namen, der auf " + Quoted(*options.endsWith) + " endet.";
    }
    if ((failing & CNameFilter::kMinLength) != 0) {
        return none + " ergibt keinen Namen mit mindestens " + std::to_string(*options.minLength) +
               " Zeichen.";
    }
    if ((failing & CNameFilter::kMaxLength) != 0) {
        return none + " ergibt keinen Namen mit höchstens " + std::to_string(*options.maxLength) +
               " Zeichen.";
    }
    return none +
           " ergibt zu jedem Filter für sich passende Namen, aber keinen, der alle "
           "zugleich erfüllt.";
}

// Why nothing is left once the avoid lists have taken what the filters let
// pass.
std::string NothingLeft(bool filtered, const std::string& what) {
    return what + (filtered ? " ergibt keinen Namen, der passt und nicht gemieden wird."
                            : " ergibt keinen Namen, der nicht gemieden wird.");
}

// Fewer names than --unique asks for, where avoid lists took some.
std::string TooFewLeft(std::uint64_t names, bool filtered, std::uint64_t count,
                       const std::string& what) {
    const char* which =
        names == 1
            ? (filtered ? ", der passt und nicht gemieden wird" : ", der nicht gemieden wird")
            : (filtered ? ", die passen und nicht gemieden werden" : ", die nicht gemieden werden");
    return what + " ergibt genau " + NamesPhrase(names) + which + ", nicht " +
           std::to_string(count) + ".";
}

// Where the joins are too many to count: what the lengths alone prove. A
// name's bytes are at least its characters and at most four times as many,
// whichever way it is read; a test that cannot decide refuses nothing.
unsigned LengthsPossible(const CNameTypeCapacity& capacity, const CNameFilterOptions& options) {
    unsigned possible = ~0U;
    if (options.minLength && capacity.mostBytes < *options.minLength) {
        possible &= ~CNameFilter::kMinLength;
    }
    if (options.maxLength && (capacity.fewestBytes + 3) / 4 > *options.maxLength) {
        possible &= ~CNameFilter::kMaxLength;
    }
    return possible;
}

// How many draws in a row may bring no new name before --unique gives up:
// enough that a name of chance `minChance` has had its chance many times
// over (e^-40 that it was merely unlucky), but never so many that giving up
// takes more than a few seconds. Fixed by the data, so that a seed gives the
// same output everywhere.
constexpr std::uint64_t kMissFloor = 1000;
// 40 / p draws leave a name of chance p unseen with probability e^-40.
constexpr double kPatience = 40.0;

std::uint64_t ConsecutiveMissLimit(double logMinChance) {
    constexpr std::uint64_t kFloor = kMissFloor;
    constexpr std::uint64_t kCeiling = 10000000;
    const double logNeeded = std::log(kPatience) - logMinChance;
    if (logNeeded >= std::log(static_cast<double>(kCeiling))) return kCeiling;
    const auto needed = static_cast<std::uint64_t>(std::ceil(std::exp(logNeeded)));
    return std::clamp(needed, kFloor, kCeiling);
}

// Names are few enough that however long they are, keeping them cannot
// matter: a request for them is not held up by measuring the memory.
constexpr std::uint64_t kCountBelowMemoryConcern = 1000;

std::string CountBeyondMemory(bool unique, std::uint64_t count, std::uint64_t fits) {
    if (unique) {
        return "Für --unique mit " + std::to_string(count) +
               " Namen reicht der Arbeitsspeicher nicht: jeder Name wird gemerkt, "
               "Platz ist für etwa " +
               std::to_string(fits) + ".";
    }
    return "Für " + std::to_string(count) +
           " Namen reicht der Arbeitsspeicher nicht: jeder Name wird behalten, Platz ist für "
           "etwa " +
           std::to_string(fits) + ".";
}

}  // namespace

CDrawPlan PlanDraws(const CNameType& nameType, const CLanguageTable& table,
                    const CNameFilter& filter, bool unique, std::uint64_t count,
                    std::size_t keptBytesPerName, const std::string& what,
                    const CAvoidList* avoid) {
    CDrawPlan plan;
    const unsigned asked = filter.Asked();
    const bool keeps = unique || (keptBytesPerName > 0 && count > kCountBelowMemoryConcern);
    if (avoid != nullptr && avoid->Empty()) avoid = nullptr;
    if (asked == 0 && !keeps && avoid == nullptr) return plan;

    const CNameFilterOptions& options = filter.Options();
    if (options.minLength && options.maxLength && *options.minLength > *options.maxLength) {
        plan.refusal = NothingFits(options, asked, asked, what);
        return plan;
    }
    const CNameTypeCapacity capacity = MeasureNameType(nameType, table);
    double logLeast = 0.0;
    if (asked != 0 || unique || avoid != nullptr) {
        // Only --unique needs the names themselves; otherwise their chance
        // is all that counts.
        std::unordered_map<std::string, double> fitting;
        unsigned passedAlone = 0;
        std::uint64_t fittingJoins = 0;
        bool anyAvoided = false;
        double fitChance = 0.0;
        std::u32string folded;
        // With avoid lists every join is looked up, which would cost a plain
        // request more than its names do; without --unique the walk ends
        // where the chance of a fit is so large that the run's patience
        // would not grow with a larger one.
        const double enough = avoid != nullptr && !unique ? kPatience / kMissFloor : 2.0;
        plan.counted = ForEachJoinUntil(nameType, table, kEnumerationLimit,
                                        [&](const std::string& name, double chance) {
                                            const unsigned passes = filter.Passes(name);
                                            passedAlone |= passes;
                                            if (passes != asked) return true;
                                            if (avoid != nullptr) {
                                                FoldedReading(name, folded);
                                                if (avoid->Avoids(folded)) {
                                                    anyAvoided = true;
                                                    return true;
                                                }
                                            }
                                            if (unique) fitting[name] += chance;
                                            ++fittingJoins;
                                            fitChance += chance;
                                            return fitChance < enough;
                                        });
        plan.fitChanceIsBound = fitChance >= enough;
        if (plan.counted) {
            if (fittingJoins == 0) {
                plan.refusal = anyAvoided ? NothingLeft(asked != 0, what)
                                          : NothingFits(options, asked, passedAlone, what);
                return plan;
            }
            plan.fitChance = fitChance;
            if (unique) {
                plan.fittingNames = fitting.size();
                plan.leastChance = 1.0;
                for (const auto& entry : fitting)
                    plan.leastChance = std::min(plan.leastChance, entry.second);
            }
            if (unique && count > plan.fittingNames) {
                plan.refusal = anyAvoided
                                   ? TooFewLeft(plan.fittingNames, asked != 0, count, what)
                                   : what + " ergibt genau " + NamesPhrase(plan.fittingNames) +
                                         (asked != 0 ? ", die passen" : "") + ", nicht " +
                                         std::to_string(count) + ".";
                return plan;
            }
            // Without --unique a run waits for any fitting name; with it, for
            // the rarest one left.
            logLeast = std::log(unique ? plan.leastChance : plan.fitChance);
        } else {
            const unsigned possible = LengthsPossible(capacity, options);
            if ((possible & asked) != asked) {
                plan.refusal = NothingFits(options, asked, possible & asked, what);
                return plan;
            }
            plan.maxNames = capacity.maxDistinctNames;
            logLeast = capacity.logMinNameProbability;
            plan.leastChance = std::exp(logLeast);
            if (unique && count > plan.maxNames) {
                plan.refusal = what + " ergibt höchstens " + NamesPhrase(plan.maxNames) +
                               ", nicht " + std::to_string(count) + ".";
                return plan;
            }
        }
        plan.missLimit = ConsecutiveMissLimit(logLeast);
    }
    if (keeps) {
        const std::uint64_t fits =
            MaxNamesInMemory(capacity.expectedBytes, unique, keptBytesPerName);
        if (count > fits) {
            plan.refusal = CountBeyondMemory(unique, count, fits);
            return plan;
        }
    }
    return plan;
}

std::string GaveUpMessage(const CDrawPlan& plan, bool unique, std::uint64_t written,
                          std::uint64_t count) {
    const std::string message = "Nach " + std::to_string(plan.missLimit) +
                                " Versuchen in Folge ohne " + (unique ? "neuen " : "passenden ") +
                                "Namen aufgehört: " + std::to_string(written) + " von " +
                                std::to_string(count) + " Namen ausgegeben. ";
    if (!unique) {
        if (plan.counted && plan.fitChanceIsBound) {
            return message + "Ein Versuch passt mindestens mit der Wahrscheinlichkeit " +
                   Chance(plan.fitChance) + ".";
        }
        return message + (plan.counted ? "Ein Versuch passt mit der Wahrscheinlichkeit " +
                                             Chance(plan.fitChance) + "."
                                       : std::string("Passende Namen sind möglich, aber selten."));
    }
    return message + "Es gibt " +
           (plan.counted ? "genau " + std::to_string(plan.fittingNames)
                         : "höchstens " + std::to_string(plan.maxNames)) +
           " verschiedene; die übrigen sind möglich, aber selten (der seltenste kommt mit der "
           "Wahrscheinlichkeit " +
           Chance(plan.leastChance) + " je Versuch).";
}
