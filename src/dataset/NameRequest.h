#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "language/NameBuffer.h"
#include "planning/NameFilter.h"

class CAvoidList;
class CDataSet;
class CRandomSource;

// What a front end asks for: names of a culture and a name type, matched as
// CDataSet::FindCulture matches them.
struct CNameRequest {
    std::string culture;
    std::string nameType;
    std::uint64_t count = 1;
    bool unique = false;
    CNameFilterOptions filter;
    // Names to leave out, finished (CAvoidList::Finish); none when null.
    std::shared_ptr<const CAvoidList> avoid;
    // Each name comes with how it was made (CNameBatch::ForEachExplained).
    bool explain = false;
};

// Names as a run makes them, many at a time: each name's bytes followed by
// an LF, which no name holds (every fragment is a line of its file), so that
// a stream of names one a line is written as it stands.
class CNameBatch {
  public:
    std::size_t Count() const { return m_count; }
    // Every name, each followed by an LF.
    std::string_view Text() const { return m_bytes.View(); }
    // Calls visit(name) for each name, in order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        const std::string_view text = Text();
        for (std::size_t begin = 0; begin < text.size();) {
            const std::size_t end = text.find('\n', begin);
            visit(text.substr(begin, end - begin));
            begin = end + 1;
        }
    }

    // Whether each name comes with how it was made: for a request that
    // asked to explain them.
    bool Explained() const { return m_explained; }
    // Calls visit(name, explanation) for each name of an explained batch,
    // in order: "SEMANTICS:LINE<TAB>LIST=LANGUAGE:LINE,..." as
    // CNameExplainer::Append writes it.
    template <typename Visit>
    void ForEachExplained(Visit visit) const {
        const std::string_view text = Text();
        const std::string_view explanations = m_explanations.View();
        for (std::size_t begin = 0, at = 0; begin < text.size();) {
            const std::size_t end = text.find('\n', begin);
            const std::size_t explanationEnd = explanations.find('\n', at);
            visit(text.substr(begin, end - begin), explanations.substr(at, explanationEnd - at));
            begin = end + 1;
            at = explanationEnd + 1;
        }
    }

  private:
    friend class CNameBatchMaker;
    CNameBuffer m_bytes;
    // Each followed by an LF, which no explanation holds: its files and
    // lists are shown escaped.
    CNameBuffer m_explanations;
    std::size_t m_count = 0;
    bool m_explained = false;
};

// Takes the names of a run as they are made.
class CNameSink {
  public:
    virtual ~CNameSink() = default;
    // False when the names could not be taken (a write failed): the run
    // stops.
    virtual bool Take(const CNameBatch& names) = 0;
};

struct CNameRunOutcome {
    enum class Status {
        kDone,
        // Nothing was made: the request cannot be met (`message` says why).
        kRefused,
        // A rare fit did not come for the data's number of draws: `made`
        // names were handed over, `message` says why no more.
        kGaveUp,
        // The sink failed; it knows why.
        kSinkFailed,
        // Memory ran out after `made` names.
        kOutOfMemory,
    };
    Status status = Status::kDone;
    std::uint64_t made = 0;
    std::string message;  // German, for every status but kDone and kSinkFailed
};

// Makes the names `request` asks for from `data`, drawing from `source`, and
// hands them to `sink`. A filtered run draws the names of the unfiltered one
// and drops those that do not fit or are avoided, so a seed gives the same
// names with and without filters and avoid lists. A request that cannot be
// met is refused before the first draw, as is a count that cannot fit in
// memory where the sink keeps every name at `keptBytesPerName` bytes besides
// its own.
CNameRunOutcome MakeNames(const CDataSet& data, const CNameRequest& request, CRandomSource& source,
                          CNameSink& sink, std::size_t keptBytesPerName = 0);
