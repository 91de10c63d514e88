// The avoid lists on the input they are meant for: an --avoid file of 10^5
// names and an --avoid-containing file of 10^4 random entries of 4 to 6
// letters that rarely match, set against drawn names. What a run of n names
// pays for them is the load once plus n times the cost a name (folding it and
// asking the list), less BM_DrawName, which stands for the name's making.
//
// Run it on one core with --benchmark_repetitions=5,
// --benchmark_enable_random_interleaving=true and
// --benchmark_report_aggregates_only=true, as bench/README.md runs the suite.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <memory>
#include <string>

#include "BenchData.h"
#include "planning/AvoidList.h"
#include "text/CaseFolding.h"

namespace {

constexpr int kExactEntries = 100000;
constexpr int kContainingEntries = 10000;

constexpr char kConsonants[] = "bdfghklmnprstvwz";
constexpr const char* kVowels[] = {"a", "e", "i", "o", "u", "ä", "ö", "ü", "é", "ai", "ei"};

// A name as a name type might make it: two or three syllables (three or four
// for `longer`) of a consonant and a vowel, the first letter in upper case;
// about one in three holds a letter beyond ASCII. Cheap, so that what the
// benchmarks add stands out.
std::string DrawName(std::uint64_t& state, bool longer = false) {
    std::string name;
    const std::uint64_t draw = NextRandom(state);
    const int syllables = (longer ? 3 : 2) + static_cast<int>(draw & 1);
    for (int i = 0; i < syllables; ++i) {
        const std::uint64_t bits = draw >> (1 + 12 * i);
        const char consonant = kConsonants[bits % (sizeof kConsonants - 1)];
        name += i == 0 ? static_cast<char>(consonant - 'a' + 'A') : consonant;
        name += kVowels[(bits >> 4) % std::size(kVowels)];
    }
    return name;
}

// An entry of 4 to 6 random letters: among names of syllables it seldom
// occurs.
std::string RandomLetters(std::uint64_t& state) {
    std::string entry;
    const auto length = 4 + NextRandom(state) % 3;
    for (std::uint64_t i = 0; i < length; ++i) {
        entry += static_cast<char>('a' + NextRandom(state) % 26);
    }
    return entry;
}

// The avoid files, written once for the run.
class CAvoidInput {
  public:
    static const CAvoidInput& Get() {
        static const CAvoidInput input;
        return input;
    }

    // Names of the same kind as the drawn ones, half of them three
    // syllables long: about one drawn name in 200 is among them.
    std::string exactPath;
    // Names drawn as the benchmarks draw them, as if a run were to avoid
    // those of the runs before: four drawn names in ten are among them.
    std::string repeatsPath;
    std::string containingPath;
    bool written = false;

  private:
    CAvoidInput() {
        exactPath = m_dir.File("avoid.txt");
        repeatsPath = m_dir.File("avoid-repeats.txt");
        containingPath = m_dir.File("avoid-containing.txt");
        std::uint64_t state = 0x5EED0A01;
        std::string text;
        for (int i = 0; i < kExactEntries; ++i) text += DrawName(state, true) + "\n";
        written = WriteWholeFile(exactPath, text);
        text.clear();
        for (int i = 0; i < kExactEntries; ++i) text += DrawName(state) + "\n";
        written = WriteWholeFile(repeatsPath, text) && written;
        text.clear();
        for (int i = 0; i < kContainingEntries; ++i) text += RandomLetters(state) + "\n";
        written = WriteWholeFile(containingPath, text) && written;
    }

    CScratchDir m_dir;
};

bool Load(const CAvoidInput& input, CAvoidList& list) {
    std::string error;
    const bool loaded = input.written && list.AddExactFile(input.exactPath, error) &&
                        list.AddContainingFile(input.containingPath, error);
    list.Finish();
    return loaded;
}

// Each load starts from memory it has never touched, as a run's does: the
// freed tables go back to the kernel outside the time (see CoreBenchmarks).
void BM_AvoidLoad(benchmark::State& state) {
    const CAvoidInput& input = CAvoidInput::Get();
    for (auto _ : state) {
        auto list = std::make_unique<CAvoidList>();
        if (!Load(input, *list)) state.SkipWithError("the avoid files did not load");
        state.PauseTiming();
        list.reset();
        malloc_trim(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AvoidLoad)->Unit(benchmark::kMillisecond);

// What a name costs without the lists: the floor to subtract.
void BM_DrawName(benchmark::State& state) {
    std::uint64_t seed = 0x5EED0A02;
    for (auto _ : state) {
        std::string name = DrawName(seed);
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawName);

// Folding, which a run with any filter pays anyway.
void BM_DrawFoldName(benchmark::State& state) {
    std::uint64_t seed = 0x5EED0A02;
    std::u32string folded;
    for (auto _ : state) {
        FoldedReading(DrawName(seed), folded);
        benchmark::DoNotOptimize(folded);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawFoldName);

// Folding and asking the lists, as a run with --avoid and --avoid-containing
// pays a drawn name; range(0) says which lists: 1 exact, 2 containing, 3 both,
// 5 the exact list of repeats.
void BM_DrawAvoidName(benchmark::State& state) {
    const CAvoidInput& input = CAvoidInput::Get();
    const std::string& exactPath = (state.range(0) & 4) != 0 ? input.repeatsPath : input.exactPath;
    CAvoidList list;
    std::string error;
    const bool loaded =
        ((state.range(0) & 1) == 0 || list.AddExactFile(exactPath, error)) &&
        ((state.range(0) & 2) == 0 || list.AddContainingFile(input.containingPath, error));
    if (!input.written || !loaded) state.SkipWithError("the avoid files did not load");
    list.Finish();
    std::uint64_t seed = 0x5EED0A02;
    std::u32string folded;
    std::int64_t avoided = 0;
    for (auto _ : state) {
        FoldedReading(DrawName(seed), folded);
        avoided += list.Avoids(folded) ? 1 : 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["avoided"] =
        static_cast<double>(avoided) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DrawAvoidName)->ArgName("lists")->Arg(1)->Arg(2)->Arg(3)->Arg(5);

}  // namespace

int main(int argc, char** argv) {
    RunIsolatedFromUserSettings(argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
