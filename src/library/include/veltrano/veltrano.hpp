// Veltrano: random names from fragment lists and weighted patterns kept in
// three plain text files (an init file, a language file, a semantics file).
// This is the C++ interface of libveltrano; the C one is <veltrano/veltrano.h>.
//
//     auto data = veltrano::Data::open("init.txt");
//     if (!data) { std::cerr << data.error << '\n'; return 1; }
//     veltrano::Generator gen = data.value.generator(42);
//     veltrano::Request request{"Waldelben", "Vorname weiblich", 5};
//     for (const std::string& name : gen.names(request).value) std::cout << name << '\n';
//
// Failures are values: every call that can fail returns a Result whose
// `error` holds the German message veltrano-cli prints for the same refusal.
// No exception leaves the library.
//
// Text is bytes: names, cultures and name types are the data files' bytes
// (UTF-8 or Windows-1252, whichever the files hold), unchanged.
//
// Threads: a Data may be used by any number of threads at once. A Generator
// holds the state of one random sequence: one thread at a time.

#ifndef VELTRANO_HPP
#define VELTRANO_HPP

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#if defined(VELTRANO_BUILDING_LIBRARY)
#define VELTRANO_API __attribute__((visibility("default")))
#else
#define VELTRANO_API
#endif

namespace veltrano {

// The library's version, such as "0.97".
VELTRANO_API std::string_view version() noexcept;

// Bytes as the desktop program shows them, as UTF-8: unchanged where they
// are valid UTF-8, otherwise read as Windows-1252 (its five unassigned
// bytes keep their C1 control code).
VELTRANO_API std::string shown(std::string_view bytes);

// What a call gives: its value, and where it failed, why.
template <typename T>
struct Result {
    // The value. Empty when the call failed, except for the names made
    // before a run gave up (see Generator::names).
    T value{};
    // Empty on success; otherwise the German message, one line a reason.
    std::string error;

    bool ok() const noexcept { return error.empty(); }
    explicit operator bool() const noexcept { return ok(); }
};

// One finding of the data check: one line of veltrano-cli --check.
struct Finding {
    enum class Severity { warning, error };

    std::string file;      // the file as --check shows it
    std::size_t line = 0;  // counted from 1; 0 for the file as a whole
    Severity severity = Severity::error;
    std::string message;  // German, as --check prints it after the severity

    // The whole line --check prints: "FILE:LINE: Fehler: MESSAGE", or
    // "Warnung:" for a warning, without ":LINE" for the file as a whole.
    VELTRANO_API std::string text() const;
};

// What check() found.
struct CheckReport {
    // In the order --check lists them: init file, language file, semantics
    // file, each by line.
    std::vector<Finding> findings;
    // The exit code --check gives: 0 clean, 1 warnings only, 2 errors, 3 when
    // the init file could not be read and nothing could be checked.
    int exit_code = 0;
};

// Checks the data that the init file names, as veltrano-cli --init FILE
// --check does; data that Data::open refuses can still be checked. Fails only
// where --check could not check at all (an unreadable init file); its value
// then has exit_code 3.
VELTRANO_API Result<CheckReport> check(const std::string& init_file);
// The same for the data the user's settings name (see Data::open()).
VELTRANO_API Result<CheckReport> check();

// A request for names: a culture and a name type, matched as veltrano-cli
// matches them (the exact bytes, or else text that reads the same where the
// data is Windows-1252), how many, and which names may come. The filters
// compare names as the desktop program shows them, ignoring case.
struct Request {
    Request() = default;
    Request(std::string culture_name, std::string name_type_name, std::uint64_t how_many = 1)
        : culture(std::move(culture_name)), name_type(std::move(name_type_name)), count(how_many) {}

    std::string culture;
    std::string name_type;
    std::uint64_t count = 1;
    // No name twice. A request beyond the distinct names the data can make
    // is refused before drawing.
    bool unique = false;
    std::optional<std::string> starts_with;
    std::optional<std::string> ends_with;
    // Characters as shown (a UTF-8 sequence is one character).
    std::optional<std::uint64_t> min_length;
    std::optional<std::uint64_t> max_length;
    // Names to leave out: one equal to an entry of `avoid`, or containing an
    // entry of `avoid_containing`, ignoring case as the filters do (in every
    // script). White space at either end of an entry is no part of it, and
    // a blank entry is none. Avoided names are drawn and dropped as filter
    // misses are; where the names can be counted, `unique` does not count
    // them, and a request that nothing is left for is refused. A generator
    // keeps the lists of its last request, so that requests that repeat
    // them, however long, do not build them again.
    std::vector<std::string> avoid;
    std::vector<std::string> avoid_containing;
};

// What veltrano-cli --stats shows for one name type (see Data::stats). Each
// figure is exact where all the joins of fragments can be counted (as many
// as `unique` counts, a million), otherwise a proven bound or, for the
// repeats, an estimate; the *_exact fields tell which.
struct Stats {
    std::string culture;  // the data's bytes
    std::string name_type;
    // The patterns with a share of the weight: those that can be chosen.
    std::uint64_t patterns = 0;
    // The distinct names, the empty one included: exactly `names` where
    // names_exact, otherwise at least `names` and at most `names_at_most`
    // (UINT64_MAX: no bound below 2^64 is known).
    std::uint64_t names = 0;
    std::uint64_t names_at_most = 0;
    // How many names of a list of 99 repeat one before them, on average.
    // Exact where the names are counted; otherwise the mean over the whole
    // lists of 99 that the first 100000 names of generator(1) make.
    double repeats_in_99 = 0.0;
    // The characters as shown (see shown()) of the shortest and of the
    // longest name; without lengths_exact, a lower bound of the shortest and
    // an upper bound of the longest.
    std::uint64_t shortest = 0;
    std::uint64_t longest = 0;
    // The chance per name of the rarest distinct name; without rarest_exact,
    // a lower bound.
    double rarest = 0.0;

    // The name type makes only the empty name, which names() refuses: one
    // name, exactly, of no length and with the chance 1.
    bool only_empty = false;
    bool names_exact = false;
    bool repeats_exact = false;
    bool lengths_exact = false;
    bool rarest_exact = false;
};

class Data;
struct LoadedData;
struct GeneratorState;

// A random sequence and the names drawn with it, from one data set, which it
// keeps alive. One thread at a time; movable, not copyable.
class VELTRANO_API Generator {
  public:
    Generator(Generator&& other) noexcept;
    Generator& operator=(Generator&& other) noexcept;
    Generator(const Generator&) = delete;
    Generator& operator=(const Generator&) = delete;
    ~Generator();

    // Makes request.count names and continues the generator's sequence: two
    // requests for 5 names give the 10 names of one request for 10, and a
    // generator seeded with S gives the names of veltrano-cli --seed S for
    // the same request.
    //
    // Fails before drawing, with an empty list, for an unknown culture or
    // name type, a filter that nothing fits, avoid lists that leave nothing,
    // `unique` beyond the distinct names, or a count that cannot fit in
    // memory. A rare fit that does not
    // come for a number of draws fixed by the data gives up: the result then
    // holds the names made so far and the error says so.
    Result<std::vector<std::string>> names(const Request& request);

    // The same, handing each name to `sink` as it is made instead of keeping
    // them: for counts too large to hold, or names that go straight to a
    // file. The view is valid during the call only. `sink` must not throw;
    // it returns false to stop the run, which then ends without an error.
    // Where the caller keeps the names, `kept_bytes_per_name` tells what each
    // costs it besides its bytes, so that a count that cannot fit is refused
    // before drawing. The value is the number of names handed over.
    Result<std::uint64_t> names(const Request& request,
                                const std::function<bool(std::string_view)>& sink,
                                std::size_t kept_bytes_per_name = 0);

    // The same again, for names that go straight to a file or a socket: the
    // fastest way to stream them. `sink` gets them as text, many at a time,
    // each name followed by an LF, which no name holds.
    Result<std::uint64_t> lines(const Request& request,
                                const std::function<bool(std::string_view)>& sink,
                                std::size_t kept_bytes_per_name = 0);

  private:
    friend class Data;
    explicit Generator(std::unique_ptr<GeneratorState> state) noexcept;
    Result<std::uint64_t> Stream(const Request& request,
                                 const std::function<bool(std::string_view)>& sink, bool lines,
                                 std::size_t kept_bytes_per_name);
    std::unique_ptr<GeneratorState> m_state;
};

// A loaded data set: its fragment lists and patterns, read once and then
// only read. Copies share the same data; any number can live in a process.
class VELTRANO_API Data {
  public:
    // The data that the user's settings name
    // ($XDG_CONFIG_HOME/Brannock/Veltrano.conf). Where there are none yet,
    // they are made as veltrano-cli makes them, pointing at the sample data
    // installed with the library; never where that folder is missing.
    static Result<Data> open();
    // The data that this init file names; its folder is the data folder.
    // The user's settings are neither read nor written.
    static Result<Data> open(const std::string& init_file);

    // An empty data set, without cultures.
    Data();

    // The cultures, in byte order (veltrano-cli --list).
    std::vector<std::string> cultures() const;
    // The name types of a culture, in byte order (veltrano-cli --list
    // CULTURE); fails for a culture that the data does not have.
    Result<std::vector<std::string>> name_types(std::string_view culture) const;

    // What veltrano-cli --stats shows: the Stats of every name type of every
    // culture, of one culture's name types, or of one name type, in the order
    // of cultures() and name_types(); culture and name type are matched as
    // in a Request. Fails for a culture or a name type that the data does not
    // have, and for a name type without its culture. Counting may take a
    // second for data with a million joins in a name type.
    Result<std::vector<Stats>> stats(
        std::optional<std::string_view> culture = std::nullopt,
        std::optional<std::string_view> name_type = std::nullopt) const;

    // A generator seeded from the system's random device.
    Generator generator() const;
    // A generator seeded as veltrano-cli --seed seeds; 0 acts as 1.
    Generator generator(std::uint32_t seed) const;

  private:
    friend struct LoadedData;
    explicit Data(std::shared_ptr<const LoadedData> loaded) noexcept;
    std::shared_ptr<const LoadedData> m_loaded;
};

}  // namespace veltrano

#endif  // VELTRANO_HPP
