#include "cli/NameGenerator.h"

#include <unistd.h>

#include <algorithm>
#include <limits>
#include <string>
#include <unordered_set>
#include <utility>

#include "cli/NameWriter.h"
#include "semantics/Semantics.h"

CGenerationOutcome GenerateNames(CNameType& nameType, std::uint64_t count, CNameWriter& writer) {
    CGenerationOutcome outcome;
    for (; outcome.written < count; ++outcome.written) {
        if (!writer.Write(nameType.Generate())) {
            outcome.status = CGenerationOutcome::Status::kWriteFailed;
            return outcome;
        }
    }
    return outcome;
}

std::uint64_t MaxUniqueNamesInMemory() {
    // A short name in the hash set: the string, the node's link and cached
    // hash, and a bucket, at the least.
    constexpr std::uint64_t kBytesPerName = 64;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(pages) / kBytesPerName * static_cast<std::uint64_t>(pageSize);
}

CGenerationOutcome GenerateUniqueNames(CNameType& nameType, std::uint64_t count,
                                       std::uint64_t missLimit, CNameWriter& writer) {
    CGenerationOutcome outcome;
    std::unordered_set<std::string> seen;
    seen.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, 1 << 20)));
    std::uint64_t misses = 0;
    while (outcome.written < count) {
        const auto [name, isNew] = seen.insert(nameType.Generate());
        if (!isNew) {
            if (++misses >= missLimit) {
                outcome.status = CGenerationOutcome::Status::kNoNewNames;
                return outcome;
            }
            continue;
        }
        misses = 0;
        if (!writer.Write(*name)) {
            outcome.status = CGenerationOutcome::Status::kWriteFailed;
            return outcome;
        }
        ++outcome.written;
    }
    return outcome;
}
