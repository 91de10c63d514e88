// Peak memory of one language-file load, measured in a process of its own so
// that nothing else the benchmarks keep counts. Run it under /usr/bin/time -v
// for a second opinion on the peak.
//
//   veltrano_bench_memory make FILE MEGABYTES [MIN_LENGTH MAX_LENGTH]
//   veltrano_bench_memory core FILE     CLanguageTable::Read
//   veltrano_bench_memory plain FILE    the fgets and std::map baseline
//   veltrano_bench_memory touch MEGABYTES
//       allocates and writes that much memory in blocks of the size of a list
//       of 100 short fragments: what the memory of a load costs by itself

#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchData.h"
#include "PlainBaseline.h"
#include "language/LanguageTable.h"

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

int Usage() {
    std::fputs(
        "usage: veltrano_bench_memory make FILE MEGABYTES [MIN_LENGTH MAX_LENGTH]\n"
        "       veltrano_bench_memory core|plain FILE\n"
        "       veltrano_bench_memory touch MEGABYTES\n",
        stderr);
    return 2;
}

void Report(const char* reader, const std::string& path, std::size_t lines, double seconds,
            double cpuSeconds, double before) {
    const double fileSize = FileMegabytes(path);
    const double peak = PeakMegabytes();
    std::printf(
        "%s: %zu lines in %.3f s, %.3f s CPU (%.2f M lines/s of CPU), file %.1f MiB, "
        "peak RSS %.1f MiB (%.2f x file), %.1f MiB above the start (%.2f x file)\n",
        reader, lines, seconds, cpuSeconds, static_cast<double>(lines) / cpuSeconds / 1e6, fileSize,
        peak, peak / fileSize, peak - before, (peak - before) / fileSize);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    const std::string command = argv[1];
    const std::string path = argv[2];
    if (command == "make" && (argc == 4 || argc == 6)) {
        CShortFragmentShape shape;
        shape.bytes = std::strtoull(argv[3], nullptr, 10) << 20;
        if (argc == 6) {
            shape.minLength = std::atoi(argv[4]);
            shape.maxLength = std::atoi(argv[5]);
        }
        const CFileStats stats = WriteShortFragmentLanguage(path, shape);
        std::printf("%s: %llu bytes, %llu lines, %llu fragments, %llu lists\n", path.c_str(),
                    static_cast<unsigned long long>(stats.bytes),
                    static_cast<unsigned long long>(stats.lines),
                    static_cast<unsigned long long>(stats.items),
                    static_cast<unsigned long long>(stats.sections));
        return 0;
    }
    if (command == "touch" && argc == 3) {
        const std::size_t total = std::strtoull(argv[2], nullptr, 10) << 20;
        constexpr std::size_t kBlock = 100 * sizeof(std::string);
        const double before = PeakMegabytes();
        const double startCpu = CpuSeconds();
        std::vector<std::unique_ptr<char[]>> blocks;
        blocks.reserve(total / kBlock + 1);
        for (std::size_t made = 0; made < total; made += kBlock) {
            blocks.push_back(std::make_unique<char[]>(kBlock));
        }
        const double cpu = CpuSeconds() - startCpu;
        std::printf("touch: %zu MiB in %zu blocks, %.3f s CPU, peak RSS %.1f MiB above the start\n",
                    total >> 20, blocks.size(), cpu, PeakMegabytes() - before);
        std::fflush(stdout);
        std::_Exit(0);
    }
    const double before = PeakMegabytes();
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = CpuSeconds();
    std::size_t lines = 0;
    if (command == "core" && argc == 3) {
        CLanguageTable table;
        table.Read(path);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const double cpu = CpuSeconds() - startCpu;
        for (const auto& entry : table.m_lists) {
            lines += 1 + entry.second.m_fragments.size();
        }
        Report("core", path, lines, took.count(), cpu, before);
        // The table goes with the process, as theLanguageTable does.
        std::fflush(stdout);
        std::_Exit(0);
    }
    if (command == "plain" && argc == 3) {
        CPlainLists lists;
        PlainLoadLanguage(path, lists);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const double cpu = CpuSeconds() - startCpu;
        for (const auto& entry : lists) {
            lines += 1 + entry.second.size();
        }
        Report("plain", path, lines, took.count(), cpu, before);
        std::fflush(stdout);
        std::_Exit(0);
    }
    return Usage();
}
