#include "dataset/NameRequest.h"

#include <algorithm>
#include <new>
#include <unordered_set>
#include <utility>

#include "checking/DataChecker.h"
#include "dataset/DataSet.h"
#include "language/RandomSource.h"
#include "planning/DrawPlan.h"
#include "planning/NameTypeCapacity.h"
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
    CNameBatchMaker(const CNameType& nameType, CRandomSource& source, CNameSink& sink,
                    CNameRunOutcome& outcome)
        : m_nameType(nameType), m_source(source), m_sink(sink), m_outcome(outcome) {}

    // Draws the next name; its bytes are the view until Keep or the next
    // draw.
    std::string_view Draw() {
        CNameBuffer& bytes = m_batch.m_bytes;
        bytes.Truncate(m_start);
        m_nameType.AppendNames(bytes, m_source, 1, false);
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

    // Takes the name drawn last into the run; false when the sink failed.
    bool Keep() {
        CNameBuffer& bytes = m_batch.m_bytes;
        bytes.Push('\n');
        m_start = bytes.Size();
        ++m_batch.m_count;
        ++m_outcome.made;
        return (m_batch.m_count < kBatchNames && m_start < kBatchBytes) || Flush();
    }

    // Hands what is made to the sink; false when the sink failed.
    bool Flush() {
        m_batch.m_bytes.Truncate(m_start);
        if (m_batch.m_count > 0 && !m_sink.Take(m_batch)) {
            m_outcome.status = Status::kSinkFailed;
            return false;
        }
        m_batch.m_bytes.Clear();
        m_batch.m_count = 0;
        m_start = 0;
        return true;
    }

  private:
    const CNameType& m_nameType;
    CRandomSource& m_source;
    CNameSink& m_sink;
    CNameRunOutcome& m_outcome;
    CNameBatch m_batch;
    std::size_t m_start = 0;  // where the next name begins
};

namespace {

// A name that does not fit, or with `unique` one that came before, is drawn
// and dropped; the run gives up after `missLimit` such draws in a row.
void DrawFitting(CNameBatchMaker& maker, const CDrawPlan& plan, const CNameFilter& filter,
                 bool unique, std::uint64_t count, CNameRunOutcome& outcome) {
    // Only names that fit are remembered: a filtered run prints the first
    // appearances of fitting names, as the unfiltered run would.
    std::unordered_set<std::string> seen;
    if (unique) seen.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, 1 << 20)));
    std::uint64_t misses = 0;
    while (outcome.made < count) {
        const std::string_view name = maker.Draw();
        const bool taken =
            (filter.Asked() == 0 || filter.Fits(name)) && (!unique || seen.emplace(name).second);
        if (!taken) {
            if (++misses >= plan.missLimit) {
                outcome.status = Status::kGaveUp;
                return;
            }
            continue;
        }
        misses = 0;
        if (!maker.Keep()) return;
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
        const CDrawPlan plan = PlanDraws(
            nameType->second, data.Lists(), filter, request.unique, request.count, keptBytesPerName,
            "Der Namenstyp " + Quoted(nameType->first) + " der Kultur " + Quoted(culture->first));
        if (!plan.refusal.empty()) return Refused(plan.refusal);
        CNameBatchMaker maker(nameType->second, source, sink, outcome);
        if (filter.Asked() == 0 && !request.unique) {
            // Every name goes to the sink: the run that most requests are,
            // and the one whose speed counts.
            maker.DrawAndKeep(request.count);
        } else {
            DrawFitting(maker, plan, filter, request.unique, request.count, outcome);
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
