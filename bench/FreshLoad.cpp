// One load in a process of its own: its time and its peak memory start from
// nothing, as they do when the program starts, and nothing the benchmarks
// keep counts. Run it under /usr/bin/time -v for a second opinion on the
// peak. The loaded tables go with the process, as the program's do.
//
//   veltrano_bench_load make-language FILE MEGABYTES [MIN_LENGTH MAX_LENGTH]
//   veltrano_bench_load make-lists FILE LISTS
//   veltrano_bench_load make-semantics FILE PATTERN_LINES LISTS
//   veltrano_bench_load language FILE        CLanguageTable::Read
//   veltrano_bench_load plain-language FILE  the fgets and std::map baseline
//   veltrano_bench_load semantics LISTS_FILE SEMANTICS_FILE
//       theLanguageTable from LISTS_FILE, then CSemantics::Load, timed alone
//   veltrano_bench_load plain-semantics SEMANTICS_FILE
//   veltrano_bench_load touch MEGABYTES
//       allocates and writes that much memory in blocks of the size of a list
//       of 100 short fragments: what the memory of a load costs by itself

#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "BenchData.h"
#include "PlainBaseline.h"
#include "language/LanguageTable.h"
#include "semantics/Semantics.h"
#include "settings/Settings.h"

namespace {

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

// User plus system time of this process: on a shared machine the clock on the
// wall also counts the time other processes had the core.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double FileMegabytes(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / 1048576.0 : 0;
}

// The exit code of a make-* command: 1 when the file could not be written whole.
int PrintStats(const std::string& path, const CFileStats& stats) {
    if (!stats.written) {
        std::fprintf(stderr, "%s: cannot write the file in full\n", path.c_str());
        return 1;
    }
    std::printf("%s: %llu bytes, %llu lines, %llu items, %llu sections\n", path.c_str(),
                static_cast<unsigned long long>(stats.bytes),
                static_cast<unsigned long long>(stats.lines),
                static_cast<unsigned long long>(stats.items),
                static_cast<unsigned long long>(stats.sections));
    return 0;
}

// Wall and CPU time and peak memory from its construction on.
class CMeasurement {
  public:
    CMeasurement()
        : m_peakBefore(PeakMegabytes()),
          m_cpuStart(CpuSeconds()),
          m_start(std::chrono::steady_clock::now()) {}

    void Stop() {
        m_wall = std::chrono::steady_clock::now() - m_start;
        m_cpu = CpuSeconds() - m_cpuStart;
    }

    // Prints the figures and ends the process without freeing the tables.
    [[noreturn]] void Report(const char* what, const std::string& path, std::size_t items,
                             const char* unit) const {
        const double fileSize = FileMegabytes(path);
        const double peak = PeakMegabytes();
        // Memory against the file only where there is one ("touch" reads none).
        const double perFile = fileSize > 0 ? 1 / fileSize : 0;
        std::printf(
            "%s: %zu %s in %.3f s, %.3f s CPU (%.2f M %s/s of CPU), file %.1f MiB, "
            "peak RSS %.1f MiB (%.2f x file), %.1f MiB above the start (%.2f x file)\n",
            what, items, unit, m_wall.count(), m_cpu, static_cast<double>(items) / m_cpu / 1e6,
            unit, fileSize, peak, peak * perFile, peak - m_peakBefore,
            (peak - m_peakBefore) * perFile);
        std::fflush(stdout);
        std::_Exit(0);
    }

  private:
    double m_peakBefore;
    double m_cpuStart;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::duration<double> m_wall{};
    double m_cpu = 0;
};

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Usage() {
    std::fputs(
        "usage: veltrano_bench_load make-language FILE MEGABYTES [MIN_LENGTH MAX_LENGTH]\n"
        "       veltrano_bench_load make-lists FILE LISTS\n"
        "       veltrano_bench_load make-semantics FILE PATTERN_LINES LISTS\n"
        "       veltrano_bench_load language|plain-language FILE\n"
        "       veltrano_bench_load semantics LISTS_FILE SEMANTICS_FILE\n"
        "       veltrano_bench_load plain-semantics SEMANTICS_FILE\n"
        "       veltrano_bench_load touch MEGABYTES\n",
        stderr);
    return 2;
}

std::uint64_t Number(const char* text) { return std::strtoull(text, nullptr, 10); }

}  // namespace

int main(int argc, char** argv) {
    RunIsolatedFromUserSettings(argv);
    if (argc < 3) {
        return Usage();
    }
    const std::string command = argv[1];
    const std::string path = argv[2];

    if (command == "make-language" && (argc == 4 || argc == 6)) {
        CShortFragmentShape shape;
        shape.bytes = Number(argv[3]) << 20;
        if (argc == 6) {
            shape.minLength = std::atoi(argv[4]);
            shape.maxLength = std::atoi(argv[5]);
        }
        return PrintStats(path, WriteShortFragmentLanguage(path, shape));
    }
    if (command == "make-lists" && argc == 4) {
        return PrintStats(
            path, WriteNumberedLists(path, static_cast<std::uint32_t>(Number(argv[3])), 16));
    }
    if (command == "make-semantics" && argc == 5) {
        return PrintStats(path,
                          WriteSemanticsFile(path, Number(argv[3]),
                                             static_cast<std::uint32_t>(Number(argv[4])), 100, 10));
    }
    if (command == "touch" && argc == 3) {
        const std::size_t total = Number(argv[2]) << 20;
        constexpr std::size_t kBlock = 100 * sizeof(std::string);
        CMeasurement measurement;
        std::vector<std::unique_ptr<char[]>> blocks;
        blocks.reserve(total / kBlock + 1);
        for (std::size_t made = 0; made < total; made += kBlock) {
            blocks.push_back(std::make_unique<char[]>(kBlock));  // zeroed: every page written
        }
        measurement.Stop();
        measurement.Report("touch", path, blocks.size(), "blocks");
    }
    if (command == "language" && argc == 3) {
        CMeasurement measurement;
        CLanguageTable table;
        table.Read(path);
        measurement.Stop();
        const std::size_t lines =
            std::accumulate(table.m_lists.begin(), table.m_lists.end(), std::size_t{0},
                            [](std::size_t sum, const auto& entry) {
                                return sum + 1 + entry.second.m_fragments.size();
                            });
        measurement.Report("language", path, lines, "lines");
    }
    if (command == "plain-language" && argc == 3) {
        CMeasurement measurement;
        CPlainLists lists;
        PlainLoadLanguage(path, lists);
        measurement.Stop();
        const std::size_t lines = std::accumulate(
            lists.begin(), lists.end(), std::size_t{0},
            [](std::size_t sum, const auto& entry) { return sum + 1 + entry.second.size(); });
        measurement.Report("plain-language", path, lines, "lines");
    }
    if (command == "semantics" && argc == 4) {
        const std::string semanticsPath = argv[3];
        // Both files by name in one folder, as an init file would give them.
        SettingsMap["DataDir"] = DirectoryOf(path) + "/";
        SettingsMap["languages"] = FileNameOf(path);
        SettingsMap["semantics"] = FileNameOf(semanticsPath);
        SettingsReloadPending = false;
        theLanguageTable.Load();
        CMeasurement measurement;
        CSemantics semantics;
        semantics.Load();
        measurement.Stop();
        std::size_t patterns = 0;
        for (const auto& culture : semantics.m_cultures) {
            patterns += std::accumulate(culture.second.m_nameTypes.begin(),
                                        culture.second.m_nameTypes.end(), std::size_t{0},
                                        [](std::size_t sum, const auto& nameType) {
                                            return sum + nameType.second.m_patterns.size();
                                        });
        }
        measurement.Report("semantics", semanticsPath, patterns, "patterns");
    }
    if (command == "plain-semantics" && argc == 3) {
        CMeasurement measurement;
        CPlainCultures cultures;
        PlainLoadSemantics(path, cultures);
        measurement.Stop();
        std::size_t patterns = 0;
        for (const auto& culture : cultures) {
            patterns += std::accumulate(culture.second.begin(), culture.second.end(),
                                        std::size_t{0}, [](std::size_t sum, const auto& nameType) {
                                            return sum + nameType.second.patterns.size();
                                        });
        }
        measurement.Report("plain-semantics", path, patterns, "patterns");
    }
    return Usage();
}
