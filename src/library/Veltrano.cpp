// The C++ interface: a thin layer over the core's data sets, requests and
// checker, which veltrano-cli uses too. Every entry point keeps exceptions
// in: the core has none of its own, and running out of memory becomes a
// message like any other refusal.

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <new>
#include <random>
#include <utility>

#include "checking/DataChecker.h"
#include "dataset/DataSet.h"
#include "dataset/DataSetStats.h"
#include "dataset/NameRequest.h"
#include "language/RandomSource.h"
#include "library/LibraryText.h"
#include "planning/AvoidList.h"
#include "settings/LineReader.h"
#include "settings/SettingsSource.h"
#include "text/Quoted.h"
#include "text/TextReading.h"
#include "veltrano/veltrano.hpp"

namespace veltrano {

struct LoadedData {
    std::unique_ptr<const CDataSet> data;

    static Data Share(std::unique_ptr<const CDataSet> data) {
        return Data(std::make_shared<const LoadedData>(LoadedData{std::move(data)}));
    }
};

struct GeneratorState {
    std::shared_ptr<const LoadedData> loaded;
    CRandomSource source;
    // The avoid lists of the last request that had any, and their entries:
    // a caller that asks for a name at a time with the same long lists
    // does not have them built again for every call.
    std::vector<std::string> avoidEntries;
    std::vector<std::string> avoidContainingEntries;
    std::shared_ptr<const CAvoidList> avoid;
};

namespace {

// The sample data installed with the library lies at the same place relative
// to it in the build tree and in every installation.
std::string LibraryDataDir() {
    static const char anchor = 0;
    Dl_info info{};
    if (::dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr) return {};
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) == nullptr) return {};
    return BundledDataDir(resolved, VELTRANO_DATA_DIR_FROM_LIB);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

// Hands a run's names to the caller's sink, one at a time or as lines,
// counting them.
class CCallerSink : public CNameSink {
  public:
    CCallerSink(const std::function<bool(std::string_view)>& sink, bool lines)
        : m_sink(sink), m_lines(lines) {}

    bool Take(const CNameBatch& names) override {
        if (m_lines) {
            if (!m_sink(names.Text())) return false;
            m_handed += names.Count();
            return true;
        }
        bool going = true;
        names.ForEach([&](std::string_view name) {
            going = going && m_sink(name);
            if (going) ++m_handed;
        });
        return going;
    }
    std::uint64_t Handed() const { return m_handed; }

  private:
    const std::function<bool(std::string_view)>& m_sink;
    bool m_lines;
    std::uint64_t m_handed = 0;
};

// An entry as a line of an avoid file gives it: white space at either end
// is no part of it, and a blank one is none.
std::string_view EntryOf(std::string_view text) {
    while (!text.empty() && IsCSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsCSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The avoid lists of `request`, built once for the same entries; null for
// none.
std::shared_ptr<const CAvoidList> AvoidListFor(GeneratorState& state, const Request& request) {
    if (request.avoid.empty() && request.avoid_containing.empty()) return nullptr;
    if (state.avoid != nullptr && state.avoidEntries == request.avoid &&
        state.avoidContainingEntries == request.avoid_containing) {
        return state.avoid;
    }
    auto avoid = std::make_shared<CAvoidList>();
    for (const std::string& entry : request.avoid) {
        if (!EntryOf(entry).empty()) avoid->AddExact(EntryOf(entry));
    }
    for (const std::string& entry : request.avoid_containing) {
        if (!EntryOf(entry).empty()) avoid->AddContaining(EntryOf(entry));
    }
    avoid->Finish();
    // Dropped first: should copying the entries run out of memory, no list
    // stands for entries it was not built from.
    state.avoid = nullptr;
    state.avoidEntries = request.avoid;
    state.avoidContainingEntries = request.avoid_containing;
    state.avoid = std::move(avoid);
    return state.avoid;
}

CNameRequest CoreRequest(const Request& request) {
    CNameRequest core;
    core.culture = request.culture;
    core.nameType = request.name_type;
    core.count = request.count;
    core.unique = request.unique;
    core.filter.startsWith = request.starts_with;
    core.filter.endsWith = request.ends_with;
    core.filter.minLength = request.min_length;
    core.filter.maxLength = request.max_length;
    return core;
}

Finding::Severity SeverityOf(const CCheckFinding& finding) {
    return finding.severity == CCheckFinding::Severity::kError ? Finding::Severity::error
                                                               : Finding::Severity::warning;
}

// Where the data lies: the init file given, or else the user's settings.
struct CFoundSource {
    bool found = false;
    CSettingsSource source;
    std::string error;
};

CFoundSource FindSource(const std::string* initFile) {
    CFoundSource where;
    where.found = initFile != nullptr
                      ? InitFileSource(*initFile, where.source, where.error)
                      : UserSettingsSource(LibraryDataDir(), where.source, where.error);
    return where;
}

Result<CheckReport> CheckAt(const std::string* initFile) {
    Result<CheckReport> result;
    result.value.exit_code = 3;
    try {
        CFoundSource where = FindSource(initFile);
        if (!where.found) {
            result.error = std::move(where.error);
            return result;
        }
        CDataChecker checker(where.source);
        checker.CheckEverything();
        for (const CCheckFinding& finding : checker.Findings()) {
            result.value.findings.push_back(
                {Escaped(finding.shownPath), finding.line, SeverityOf(finding), finding.message});
        }
        result.value.exit_code = checker.ExitCode();
    } catch (const std::bad_alloc&) {
        result.value.findings.clear();
        result.value.exit_code = 3;
        result.error = kOutOfMemoryMessage;
    }
    return result;
}

Result<Data> OpenAt(const std::string* initFile) {
    try {
        CFoundSource where = FindSource(initFile);
        if (!where.found) return {Data(), std::move(where.error)};
        std::vector<std::string> errors;
        std::unique_ptr<const CDataSet> data = CDataSet::Load(where.source, errors);
        if (data == nullptr) return {Data(), JoinLines(errors)};
        return {LoadedData::Share(std::move(data)), {}};
    } catch (const std::bad_alloc&) {
        return {Data(), kOutOfMemoryMessage};
    }
}

}  // namespace

std::string_view version() noexcept { return VELTRANO_VERSION; }

std::string shown(std::string_view bytes) {
    try {
        return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

std::string Finding::text() const {
    return file + (line > 0 ? ":" + std::to_string(line) : std::string()) +
           (severity == Severity::error ? ": Fehler: " : ": Warnung: ") + message;
}

Result<CheckReport> check(const std::string& init_file) { return CheckAt(&init_file); }

Result<CheckReport> check() { return CheckAt(nullptr); }

Result<Data> Data::open() { return OpenAt(nullptr); }

Result<Data> Data::open(const std::string& init_file) { return OpenAt(&init_file); }

Data::Data() = default;

Data::Data(std::shared_ptr<const LoadedData> loaded) noexcept : m_loaded(std::move(loaded)) {}

std::vector<std::string> Data::cultures() const {
    try {
        return m_loaded == nullptr ? std::vector<std::string>()
                                   : m_loaded->data->Semantics().GetCultureNames();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

Result<std::vector<std::string>> Data::name_types(std::string_view culture) const {
    try {
        if (m_loaded == nullptr) return {{}, kEmptyDataMessage};
        const CDataSet& data = *m_loaded->data;
        const CDataSet::CultureEntry* found = data.FindCulture(culture);
        if (found == nullptr) return {{}, data.UnknownCultureMessage(culture)};
        return {found->second.GetNameTypeNames(), {}};
    } catch (const std::bad_alloc&) {
        return {{}, kOutOfMemoryMessage};
    }
}

Result<std::vector<Stats>> Data::stats(std::optional<std::string_view> culture,
                                       std::optional<std::string_view> name_type) const {
    try {
        if (m_loaded == nullptr) return {{}, kEmptyDataMessage};
        if (name_type && !culture) return {{}, kNameTypeWithoutCultureMessage};
        std::vector<CStatsRow> rows;
        std::string error;
        if (!MeasureDataSet(*m_loaded->data, culture, name_type, rows, error)) {
            return {{}, std::move(error)};
        }
        Result<std::vector<Stats>> result;
        result.value.reserve(rows.size());
        for (CStatsRow& row : rows) {
            const CNameTypeStats& core = row.stats;
            result.value.push_back({.culture = std::move(row.culture),
                                    .name_type = std::move(row.nameType),
                                    .patterns = core.patterns,
                                    .names = core.names,
                                    .names_at_most = core.namesAtMost,
                                    .repeats_in_99 = core.repeatsIn99,
                                    .shortest = core.shortest,
                                    .longest = core.longest,
                                    .rarest = core.rarest,
                                    .only_empty = core.onlyEmptyNames,
                                    .names_exact = core.namesExact,
                                    .repeats_exact = core.repeatsExact,
                                    .lengths_exact = core.lengthsExact,
                                    .rarest_exact = core.rarestExact});
        }
        return result;
    } catch (const std::bad_alloc&) {
        return {{}, kOutOfMemoryMessage};
    }
}

Generator Data::generator() const {
    unsigned seed = 0;
    // The system's random device; where it cannot be read, the clock, as
    // the programs seed without a seed.
    try {
        seed = std::random_device()();
    } catch (const std::exception&) {
        seed = static_cast<unsigned>(std::time(nullptr));
    }
    return generator(seed);
}

Generator Data::generator(std::uint32_t seed) const {
    auto state = std::make_unique<GeneratorState>();
    state->loaded = m_loaded;
    state->source.Seed(seed);
    return Generator(std::move(state));
}

Generator::Generator(std::unique_ptr<GeneratorState> state) noexcept : m_state(std::move(state)) {}
Generator::Generator(Generator&& other) noexcept = default;
Generator& Generator::operator=(Generator&& other) noexcept = default;
Generator::~Generator() = default;

Result<std::uint64_t> Generator::Stream(const Request& request,
                                        const std::function<bool(std::string_view)>& sink,
                                        bool lines, std::size_t kept_bytes_per_name) {
    try {
        if (m_state == nullptr) return {0, kNoGeneratorMessage};
        if (m_state->loaded == nullptr) return {0, kEmptyDataMessage};
        CNameRequest core = CoreRequest(request);
        core.avoid = AvoidListFor(*m_state, request);
        CCallerSink caller(sink, lines);
        const CNameRunOutcome outcome =
            MakeNames(*m_state->loaded->data, core, m_state->source, caller, kept_bytes_per_name);
        Result<std::uint64_t> result{caller.Handed(), {}};
        // A sink that stops the run has what it wanted.
        if (outcome.status != CNameRunOutcome::Status::kDone &&
            outcome.status != CNameRunOutcome::Status::kSinkFailed) {
            result.error = outcome.message;
        }
        return result;
    } catch (const std::bad_alloc&) {
        return {0, kOutOfMemoryMessage};
    }
}

Result<std::uint64_t> Generator::names(const Request& request,
                                       const std::function<bool(std::string_view)>& sink,
                                       std::size_t kept_bytes_per_name) {
    return Stream(request, sink, false, kept_bytes_per_name);
}

Result<std::uint64_t> Generator::lines(const Request& request,
                                       const std::function<bool(std::string_view)>& sink,
                                       std::size_t kept_bytes_per_name) {
    return Stream(request, sink, true, kept_bytes_per_name);
}

Result<std::vector<std::string>> Generator::names(const Request& request) {
    Result<std::vector<std::string>> result;
    try {
        // A kept name costs its string object, and the heap block of a long
        // one.
        constexpr std::size_t kKept = sizeof(std::string) + 16;
        const Result<std::uint64_t> made = names(
            request,
            [&](std::string_view name) {
                result.value.emplace_back(name);
                return true;
            },
            kKept);
        result.error = made.error;
    } catch (const std::bad_alloc&) {
        result.error = kOutOfMemoryMessage;
    }
    return result;
}

}  // namespace veltrano
