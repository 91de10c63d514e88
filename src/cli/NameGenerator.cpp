#include "cli/NameGenerator.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <unordered_set>
#include <utility>

#include "cli/NameWriter.h"
#include "planning/NameFilter.h"
#include "semantics/Semantics.h"

CGenerationOutcome GenerateNames(CNameType& nameType, std::uint64_t count,
                                 const CNameFilter* filter, std::uint64_t missLimit,
                                 CNameWriter& writer) {
    CGenerationOutcome outcome;
    std::uint64_t misses = 0;
    while (outcome.written < count) {
        const std::string name = nameType.Generate();
        if (filter != nullptr && !filter->Fits(name)) {
            if (++misses >= missLimit) {
                outcome.status = CGenerationOutcome::Status::kGaveUp;
                return outcome;
            }
            continue;
        }
        misses = 0;
        if (!writer.Write(name)) {
            outcome.status = CGenerationOutcome::Status::kWriteFailed;
            return outcome;
        }
        ++outcome.written;
    }
    return outcome;
}

CGenerationOutcome GenerateUniqueNames(CNameType& nameType, std::uint64_t count,
                                       const CNameFilter* filter, std::uint64_t missLimit,
                                       CNameWriter& writer) {
    CGenerationOutcome outcome;
    // Only names that fit are kept: a filtered run prints the first
    // appearances of fitting names, as the unfiltered run would.
    std::unordered_set<std::string> seen;
    seen.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, 1 << 20)));
    std::uint64_t misses = 0;
    while (outcome.written < count) {
        std::string drawn = nameType.Generate();
        const bool fits = filter == nullptr || filter->Fits(drawn);
        const auto [name, isNew] =
            fits ? seen.insert(std::move(drawn)) : std::pair(seen.end(), false);
        if (!isNew) {
            if (++misses >= missLimit) {
                outcome.status = CGenerationOutcome::Status::kGaveUp;
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
