#include "planning/MemoryBudget.h"

#include <malloc.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <unordered_set>

namespace {

// What the system could still hand out without swapping, in bytes; 0 when
// it does not say.
std::uint64_t AvailableMemory() {
    std::FILE* info = std::fopen("/proc/meminfo", "re");
    if (info == nullptr) return 0;
    char line[256];
    std::uint64_t kib = 0;
    while (std::fgets(line, sizeof line, info) != nullptr) {
        if (std::sscanf(line, "MemAvailable: %" SCNu64 " kB", &kib) == 1) break;
    }
    std::fclose(info);
    return kib * 1024;
}

// The heap bytes one more name of `length` bytes costs in the set that
// --unique keeps, measured on a sample of such names. In a program whose
// other threads free memory meanwhile the difference may even be negative;
// a name costs at least its set entry all the same.
double MeasuredBytesPerName(std::size_t length) {
    constexpr std::size_t kSample = 4096;
    const auto before = static_cast<double>(mallinfo2().uordblks);
    double perName = 0.0;
    {
        std::unordered_set<std::string> sample;
        sample.reserve(kSample);
        const std::string filler(length, 'x');
        for (std::size_t i = 0; i < kSample; ++i) sample.insert(std::to_string(i) + filler);
        perName = (static_cast<double>(mallinfo2().uordblks) - before) / kSample;
    }
    return std::max(perName, 32.0);
}

}  // namespace

std::uint64_t MaxNamesInMemory(double nameLength, bool unique, std::size_t keptBytesPerName) {
    const std::uint64_t available = AvailableMemory();
    if (available == 0) return std::numeric_limits<std::uint64_t>::max();
    const auto length = static_cast<std::size_t>(std::ceil(nameLength));
    const double perName = (unique ? MeasuredBytesPerName(length) : static_cast<double>(length)) +
                           static_cast<double>(keptBytesPerName);
    // Room for the output buffer and the data, and a margin for the system.
    return static_cast<std::uint64_t>(static_cast<double>(available) * 0.8 / perName);
}
