// The core's loads and its name generation, each beside the plain fgets and
// std::map way of doing the same (PlainBaseline.h) and, for generation, beside
// the rand() calls alone that every name must make.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchData.h"
#include "PlainBaseline.h"
#include "language/LanguageTable.h"
#include "semantics/Semantics.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

constexpr std::uint32_t kSemanticsLists = 1000;
constexpr std::int64_t kMegabyte = 1 << 20;

struct CDataFile {
    std::string name;  // inside the scratch folder
    CFileStats stats;
};

// The scratch folder, an in-memory store that points the settings at it, and
// the data files, each made on its first use and kept for the run.
class CBenchEnvironment {
  public:
    static CBenchEnvironment& Get() {
        static CBenchEnvironment environment;
        return environment;
    }

    std::string Path(const CDataFile& file) const { return m_dir.File(file.name); }

    const CDataFile& InitFile(std::uint64_t lines) {
        return Made("init-" + std::to_string(lines) + ".txt", [&](const std::string& path) {
            return WriteInitFile(path, kLanguages, kSemantics, lines);
        });
    }

    const CDataFile& ShortFragments(std::int64_t megabytes) {
        return Made("short-" + std::to_string(megabytes) + "mb.txt", [&](const std::string& path) {
            CShortFragmentShape shape;
            shape.bytes = static_cast<std::uint64_t>(megabytes * kMegabyte);
            return WriteShortFragmentLanguage(path, shape);
        });
    }

    const CDataFile& NumberedLists(std::uint32_t lists) {
        return Made("lists-" + std::to_string(lists) + ".txt", [&](const std::string& path) {
            return WriteNumberedLists(path, lists, kFragmentsPerList);
        });
    }

    const CDataFile& Semantics(std::uint64_t patternLines) {
        return Made("semantics-" + std::to_string(patternLines) + ".txt",
                    [&](const std::string& path) {
                        return WriteSemanticsFile(path, patternLines, kSemanticsLists, 100, 10);
                    });
    }

    // Two patterns of `positions` lists each, weights 10 and 30, in the
    // culture "Kultur" under the name type "Typ".
    const CDataFile& GenerationSemantics(int positions, std::uint32_t lists) {
        const std::string name =
            "generate-" + std::to_string(positions) + "-" + std::to_string(lists) + ".txt";
        return Made(name, [&](const std::string& path) {
            std::uint64_t state = 0x5EED0004;
            const std::string text =
                "[Kultur]\nkurz:10:Typ:" + PatternListNames(lists, positions, state) +
                "\nlang:30:Typ:" + PatternListNames(lists, positions, state) + "\n";
            CFileStats stats;
            stats.written = WriteWholeFile(path, text);
            stats.items = 2;
            stats.bytes = text.size();
            return stats;
        });
    }

    // Makes theLanguageTable hold the numbered lists "l0" to "l<lists - 1>".
    // The table is read once per process in the program; the benchmarks
    // refill it to compare table sizes, so every CSemantics, whose patterns
    // point into the table, must be loaded after this call.
    void UseTableOfLists(std::uint32_t lists) {
        theLanguageTable.Load();
        if (m_tableLists != lists) {
            theLanguageTable.m_lists.clear();
            theLanguageTable.Read(Path(NumberedLists(lists)));
            m_tableLists = lists;
        }
    }

    // Points the "semantics" setting at `file`.
    void UseSemantics(const CDataFile& file) { SettingsMap["semantics"] = file.name; }

    void UseInitFile(const CDataFile& file) {
        WriteRegistryValue("InitFile", file.name);
        LoadSettings();
    }

  private:
    static constexpr const char* kLanguages = "no-language-file.txt";
    static constexpr const char* kSemantics = "no-semantics-file.txt";
    static constexpr int kFragmentsPerList = 16;

    CBenchEnvironment() {
        UseRegistryStore(&m_store);
        WriteRegistryValue("DataDir", m_dir.Path());
        UseInitFile(InitFile(2));
    }
    ~CBenchEnvironment() { UseRegistryStore(nullptr); }

    template <typename Make>
    const CDataFile& Made(const std::string& name, Make make) {
        auto it = m_files.find(name);
        if (it == m_files.end()) {
            it = m_files.emplace(name, CDataFile{name, make(m_dir.File(name))}).first;
            // Figures for a cut-off file would be figures for another file.
            if (!it->second.stats.written) {
                std::fprintf(stderr, "cannot write %s in full\n", m_dir.File(name).c_str());
                std::exit(1);
            }
        }
        return it->second;
    }

    CScratchDir m_dir;
    CMemoryRegistryStore m_store;
    std::map<std::string, CDataFile> m_files;
    std::uint32_t m_tableLists = 0;
};

// Hands the memory of the tables just freed back to the kernel, so that every
// load starts as the program's does, with memory it has never touched: how
// much freed memory the allocator keeps would otherwise depend on what ran
// before, and decide the figures.
void ReturnFreedMemory() { malloc_trim(0); }

// Loads into a new T each round; freeing it and handing its memory back stay
// out of the time. True when every load reported success.
template <typename T, typename Load>
bool TimeFreshLoads(benchmark::State& state, Load load) {
    bool succeeded = true;
    for (auto _ : state) {
        auto target = std::make_unique<T>();
        succeeded = load(*target) && succeeded;
        state.PauseTiming();
        target.reset();
        ReturnFreedMemory();
        state.ResumeTiming();
    }
    return succeeded;
}

// Every round reads the whole file: `items` of it, and all its bytes.
void CountFile(benchmark::State& state, const CFileStats& stats, std::uint64_t items) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stats.bytes));
}

// Settings -----------------------------------------------------------------

void BM_LoadSettings(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const CDataFile& file = environment.InitFile(static_cast<std::uint64_t>(state.range(0)));
    environment.UseInitFile(file);
    for (auto _ : state) {
        LoadSettings();
    }
    CountFile(state, file.stats, file.stats.lines);
    environment.UseInitFile(environment.InitFile(2));
}
BENCHMARK(BM_LoadSettings)->Arg(2)->Arg(10000);

// Language file ------------------------------------------------------------

void BM_LanguageRead(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const CDataFile& file = environment.ShortFragments(state.range(0));
    const std::string path = environment.Path(file);
    const bool complete = TimeFreshLoads<CLanguageTable>(state, [&](CLanguageTable& table) {
        table.Read(path);
        return table.m_lists.size() == file.stats.sections;
    });
    if (!complete) {
        state.SkipWithError("the table does not hold every list of the file");
    }
    CountFile(state, file.stats, file.stats.lines);
}
BENCHMARK(BM_LanguageRead)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_PlainLanguageRead(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const CDataFile& file = environment.ShortFragments(state.range(0));
    const std::string path = environment.Path(file);
    TimeFreshLoads<CPlainLists>(state, [&](CPlainLists& lists) {
        PlainLoadLanguage(path, lists);
        return true;
    });
    CountFile(state, file.stats, file.stats.lines);
}
BENCHMARK(BM_PlainLanguageRead)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// Semantics file -------------------------------------------------------------

void BM_SemanticsLoad(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    environment.UseTableOfLists(kSemanticsLists);
    const CDataFile& file = environment.Semantics(static_cast<std::uint64_t>(state.range(0)));
    environment.UseSemantics(file);
    if (!TimeFreshLoads<CSemantics>(state,
                                    [](CSemantics& semantics) { return semantics.Load(); })) {
        state.SkipWithError("the semantics file did not load");
    }
    CountFile(state, file.stats, file.stats.items);
}
BENCHMARK(BM_SemanticsLoad)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_PlainSemanticsLoad(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const CDataFile& file = environment.Semantics(static_cast<std::uint64_t>(state.range(0)));
    const std::string path = environment.Path(file);
    TimeFreshLoads<CPlainCultures>(state, [&](CPlainCultures& cultures) {
        PlainLoadSemantics(path, cultures);
        return true;
    });
    CountFile(state, file.stats, file.stats.items);
}
BENCHMARK(BM_PlainSemanticsLoad)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// Generation -----------------------------------------------------------------

const std::string kCulture = "Kultur";
const std::string kNameType = "Typ";

void GenerationArguments(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"positions", "lists"})->ArgsProduct({{1, 3, 8}, {10, 1000, 100000}});
}

void BM_Generate(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const auto positions = static_cast<int>(state.range(0));
    const auto lists = static_cast<std::uint32_t>(state.range(1));
    environment.UseTableOfLists(lists);
    environment.UseSemantics(environment.GenerationSemantics(positions, lists));
    CSemantics semantics;
    semantics.Load();
    if (semantics.Generate(kCulture, kNameType).empty()) {
        state.SkipWithError("no name was made");
    }
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::string name = semantics.Generate(kCulture, kNameType);
        bytes += static_cast<std::int64_t>(name.size());
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_Generate)->Apply(GenerationArguments);

// The name type alone, as veltrano-cli calls it for every name.
void BM_NameTypeGenerate(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const auto positions = static_cast<int>(state.range(0));
    const auto lists = static_cast<std::uint32_t>(state.range(1));
    environment.UseTableOfLists(lists);
    environment.UseSemantics(environment.GenerationSemantics(positions, lists));
    CSemantics semantics;
    semantics.Load();
    CNameType& nameType = semantics.m_cultures.at(kCulture).m_nameTypes.at(kNameType);
    for (auto _ : state) {
        std::string name = nameType.Generate();
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NameTypeGenerate)->ArgNames({"positions", "lists"})->Args({3, 1000});

void BM_PlainGenerate(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const auto positions = static_cast<int>(state.range(0));
    const auto lists = static_cast<std::uint32_t>(state.range(1));
    CPlainLists plainLists;
    PlainLoadLanguage(environment.Path(environment.NumberedLists(lists)), plainLists);
    CPlainCultures cultures;
    PlainLoadSemantics(environment.Path(environment.GenerationSemantics(positions, lists)),
                       cultures);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::string name = PlainGenerate(cultures, plainLists, kCulture, kNameType);
        bytes += static_cast<std::int64_t>(name.size());
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_PlainGenerate)->Apply(GenerationArguments);

// The floor of generation: a name of k positions needs k + 1 rand() calls.
void BM_RandCalls(benchmark::State& state) {
    const auto calls = state.range(0);
    for (auto _ : state) {
        for (std::int64_t i = 0; i < calls; ++i) {
            benchmark::DoNotOptimize(std::rand());
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandCalls)->ArgName("calls")->Arg(2)->Arg(4)->Arg(9);

void BM_MakeWord(benchmark::State& state) {
    CBenchEnvironment& environment = CBenchEnvironment::Get();
    const auto positions = static_cast<int>(state.range(0));
    const auto lists = static_cast<std::uint32_t>(state.range(1));
    CLanguageTable table;
    table.Read(environment.Path(environment.NumberedLists(lists)));
    std::uint64_t seed = 0x5EED0005;
    const std::string text = PatternListNames(lists, positions, seed);
    std::vector<std::string> names;
    for (std::size_t begin = 0;;) {
        const std::size_t comma = text.find(',', begin);
        names.push_back(text.substr(begin, comma - begin));
        if (comma == std::string::npos) {
            break;
        }
        begin = comma + 1;
    }
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::string word = table.MakeWord(names);
        bytes += static_cast<std::int64_t>(word.size());
        benchmark::DoNotOptimize(word);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_MakeWord)->Apply(GenerationArguments);

}  // namespace

int main(int argc, char** argv) {
    RunIsolatedFromUserSettings(argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
