#include "dataset/NameRequest.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>
#include <utility>

#include "checking/DataChecker.h"
#include "dataset/DataSet.h"
#include "dataset/NameExplainer.h"
#include "language/RandomSource.h"
#include "planning/AvoidList.h"
#include "planning/DrawPlan.h"
#include "planning/NameTypeCapacity.h"
#include "semantics/JoinNumbering.h"
#include "text/CaseFolding.h"
#include "text/Quoted.h"

namespace {

using Status = CNameRunOutcome::Status;

// Hands batches of this many names, or of this many bytes, to the sink.
constexpr std::size_t kBatchNames = 4096;
constexpr std::size_t kBatchBytes = 1 << 18;

}  // namespace

// Makes the names of a run into batches and hands each full one to the sink.
class CNameBatchMaker {
  public:
    // With an `explainer`, each name kept comes with how it was made.
    CNameBatchMaker(const CNameType& nameType, CRandomSource& source, CNameSink& sink,
                    CNameRunOutcome& outcome, const CNameExplainer* explainer)
        : m_nameType(nameType),
          m_source(source),
          m_sink(sink),
          m_outcome(outcome),
          m_explainer(explainer) {
        m_batch.m_explained = explainer != nullptr;
    }

    // Draws `count` names after those kept, each followed by an LF: the
    // view, until Keep moves one of them or the next draw. Unless explained,
    // a `numbering` gets their numbers.
    std::string_view Draw(std::uint64_t count, CJoinNumbering* numbering) {
        CNameBuffer& bytes = m_batch.m_bytes;
        bytes.Truncate(m_start);
        if (m_explainer != nullptr) {
            m_makings.resize(static_cast<std::size_t>(count));
            for (CNameMaking& making : m_makings) {
                m_nameType.AppendName(bytes, m_source, making);
                bytes.Push('\n');
            }
        } else if (numbering != nullptr) {
            numbering->Clear();
            m_nameType.AppendNames(bytes, m_source, count, true, *numbering);
        } else {
            m_nameType.AppendNames(bytes, m_source, count, true);
        }
        return bytes.View(m_start);
    }

    // Draws `count` names and keeps them all; false when the sink failed.
    bool DrawAndKeep(std::uint64_t count) {
        // A few names at a time, so that batches stay near their size.
        constexpr std::uint64_t kStride = 256;
        while (count > 0) {
            const std::uint64_t names = std::min(count, kStride);
            m_nameType.AppendNames(m_batch.m_bytes, m_source, names, true);
            m_start = m_batch.m_bytes.Size();
            m_batch.m_count += names;
            m_outcome.made += names;
            count -= names;
            if ((m_batch.m_count >= kBatchNames || m_start >= kBatchBytes) && !Flush()) {
                return false;
            }
        }
        return true;
    }

    bool Explains() const { return m_explainer != nullptr; }

    // Takes `name`, the `index`-th of those drawn last and none before it
    // taken, into the run after the names kept: it moves up over the names
    // dropped, never over one still to be looked at.
    void Keep(std::string_view name, std::size_t index) {
        char* const target = &m_batch.m_bytes[m_start];
        // Until a name is dropped, every name kept stands where it was drawn.
        if (target != name.data()) {
            std::memmove(target, name.data(), name.size());
            target[name.size()] = '\n';
        }
        m_start += name.size() + 1;
        if (m_explainer != nullptr) {
            m_explainer->Append(m_batch.m_explanations, m_makings[index]);
            m_batch.m_explanations.Push('\n');
        }
        ++m_batch.m_count;
        ++m_outcome.made;
    }

    // Drops the names drawn last that were not kept, and hands a full batch
    // to the sink; false when the sink failed.
    bool EndDraw() {
        m_batch.m_bytes.Truncate(m_start);
        return (m_batch.m_count < kBatchNames &&
                m_start + m_batch.m_explanations.Size() < kBatchBytes) ||
               Flush();
    }

    // Hands what is made to the sink; false when the sink failed.
    bool Flush() {
        m_batch.m_bytes.Truncate(m_start);
        if (m_batch.m_count > 0 && !m_sink.Take(m_batch)) {
            m_outcome.status = Status::kSinkFailed;
            return false;
        }
        m_batch.m_bytes.Clear();
        m_batch.m_explanations.Clear();
        m_batch.m_count = 0;
        m_start = 0;
        return true;
    }

  private:
    const CNameType& m_nameType;
    CRandomSource& m_source;
    CNameSink& m_sink;
    CNameRunOutcome& m_outcome;
    const CNameExplainer* m_explainer;
    std::vector<CNameMaking> m_makings;  // of the names drawn last, where explained
    CNameBatch m_batch;
    std::size_t m_start = 0;  // where the next name begins
};

namespace {

// Whether the names of a name type fit and are not avoided, remembered by
// their join's number: a name type makes the same names again and again,
// and to fold a name and look it up in the avoid lists costs several times
// what drawing it does. Only where the joins are not many more than the
// names asked for, since the memo takes two bits a join.
class CFitMemo {
  public:
    // Joins beyond this many (16 MiB) are not remembered.
    static constexpr std::uint64_t kMaxJoins = std::uint64_t{1} << 26;

    // False where remembering would not pay for `count` names.
    bool Prepare(const CNameType& nameType, std::uint64_t count) {
        const std::uint64_t limit =
            std::min(kMaxJoins, std::max<std::uint64_t>(count, 1 << 12) * 8);
        if (!m_numbering.Prepare(nameType, limit)) return false;
        m_states.assign(static_cast<std::size_t>(m_numbering.Count() / 4 + 1), 0);
        return true;
    }

    CJoinNumbering& Numbering() { return m_numbering; }

    // Whether the `index`-th name drawn fits, by `fits` the first time its
    // join comes.
    template <typename Test>
    bool Fits(std::size_t index, std::string_view name, Test fits) {
        const std::uint64_t join = m_numbering.Numbers()[index];
        std::uint8_t& cell = m_states[static_cast<std::size_t>(join / 4)];
        const unsigned shift = static_cast<unsigned>(join % 4) * 2;
        const unsigned state = (cell >> shift) & 3U;
        if (state != kUnknown) return state == kFits;
        const bool fitting = fits(name);
        cell = static_cast<std::uint8_t>(cell | ((fitting ? kFits : kDropped) << shift));
        return fitting;
    }

  private:
    static constexpr unsigned kUnknown = 0;
    static constexpr unsigned kFits = 1;
    static constexpr unsigned kDropped = 2;

    CJoinNumbering m_numbering;
    std::vector<std::uint8_t> m_states;  // four joins a byte
};

// A name that does not fit, is avoided, or with `unique` came before, is
// drawn and dropped; the run gives up after `missLimit` such draws in a row.
void DrawFitting(CNameBatchMaker& maker, const CNameType& nameType, const CDrawPlan& plan,
                 const CNameFilter& filter, const CAvoidList* avoid, bool unique,
                 std::uint64_t count, CNameRunOutcome& outcome) {
    // Only names that fit are remembered: a filtered run prints the first
    // appearances of fitting names, as the unfiltered run would.
    std::unordered_set<std::string> seen;
    if (unique) seen.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, 1 << 20)));
    std::uint64_t misses = 0;
    std::u32string folded;
    // Where a name is folded for the avoid list, the filters take that
    // reading too: one pass over the name for both.
    const auto fits = [&](std::string_view name) {
        if (avoid == nullptr) return filter.Asked() == 0 || filter.Fits(name);
        FoldedReading(name, folded);
        return filter.FitsFolded(folded) && !avoid->Avoids(folded);
    };
    CFitMemo memo;
    const bool remembers = avoid != nullptr && !maker.Explains() && memo.Prepare(nameType, count);
    // Names are drawn a round at a time and then looked at, but never more
    // than one at a time would draw: a round is no longer than the names
    // still wanted, nor than the misses still allowed, so a seed leaves its
    // source where one at a time would (a library caller draws on from it).
    constexpr std::uint64_t kRound = 256;
    const std::uint64_t missLimit = plan.missLimit == 0 ? UINT64_MAX : plan.missLimit;
    while (outcome.made < count) {
        const std::uint64_t round = std::min({count - outcome.made, missLimit - misses, kRound});
        const std::string_view names = maker.Draw(round, remembers ? &memo.Numbering() : nullptr);
        std::size_t index = 0;
        for (std::size_t begin = 0; begin < names.size(); ++index) {
            const std::size_t end = names.find('\n', begin);
            const std::string_view name = names.substr(begin, end - begin);
            begin = end + 1;
            const bool fitting = remembers ? memo.Fits(index, name, fits) : fits(name);
            if (fitting && (!unique || seen.emplace(name).second)) {
                misses = 0;
                maker.Keep(name, index);
            } else {
                ++misses;
            }
        }
        if (!maker.EndDraw()) return;
        if (misses >= missLimit) {
            outcome.status = Status::kGaveUp;
            return;
        }
    }
}

CNameRunOutcome Refused(std::string message) {
    CNameRunOutcome outcome;
    outcome.status = Status::kRefused;
    outcome.message = std::move(message);
    return outcome;
}

}  // namespace

CNameRunOutcome MakeNames(const CDataSet& data, const CNameRequest& request, CRandomSource& source,
                          CNameSink& sink, std::size_t keptBytesPerName) {
    const CDataSet::CultureEntry* culture = data.FindCulture(request.culture);
    if (culture == nullptr) return Refused(data.UnknownCultureMessage(request.culture));
    const CDataSet::NameTypeEntry* nameType = CDataSet::FindNameType(*culture, request.nameType);
    if (nameType == nullptr) {
        return Refused(CDataSet::UnknownNameTypeMessage(*culture, request.nameType));
    }
    if (!nameType->second.MakesNonEmptyNames()) {
        return Refused(EmptyNamesMessage(culture->first, nameType->first));
    }
    CNameRunOutcome outcome;
    // The names handed over so far are whole; a run that runs out of memory
    // ends with them and says why, instead of aborting the program.
    try {
        const CNameFilter filter(request.filter);
        const CAvoidList* avoid =
            request.avoid != nullptr && !request.avoid->Empty() ? request.avoid.get() : nullptr;
        const CDrawPlan plan = PlanDraws(
            nameType->second, data.Lists(), filter, request.unique, request.count, keptBytesPerName,
            "Der Namenstyp " + Quoted(nameType->first) + " der Kultur " + Quoted(culture->first),
            avoid);
        if (!plan.refusal.empty()) return Refused(plan.refusal);
        CNameExplainer explainer;
        if (request.explain) {
            std::string error;
            if (!explainer.Prepare(data, *culture, *nameType, error)) return Refused(error);
        }
        CNameBatchMaker maker(nameType->second, source, sink, outcome,
                              request.explain ? &explainer : nullptr);
        if (filter.Asked() == 0 && !request.unique && avoid == nullptr && !request.explain) {
            // Every name goes to the sink: the run that most requests are,
            // and the one whose speed counts.
            maker.DrawAndKeep(request.count);
        } else {
            DrawFitting(maker, nameType->second, plan, filter, avoid, request.unique, request.count,
                        outcome);
        }
        // The names before a give-up are handed over too.
        if (outcome.status != Status::kSinkFailed) maker.Flush();
        if (outcome.status == Status::kGaveUp) {
            outcome.message = GaveUpMessage(plan, request.unique, outcome.made, request.count);
        }
    } catch (const std::bad_alloc&) {
        outcome.status = Status::kOutOfMemory;
        outcome.message = "Der Arbeitsspeicher reicht nicht für weitere Namen.";
    }
    return outcome;
}
