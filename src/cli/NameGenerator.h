#pragma once

#include <cstdint>

class CNameFilter;
class CNameType;
class CNameWriter;

struct CGenerationOutcome {
    enum class Status {
        kDone,
        kWriteFailed,
        // The miss limit was reached before the count.
        kGaveUp,
    };
    Status status = Status::kDone;
    std::uint64_t written = 0;
};

// Makes `count` names of `nameType` through the core's own generation, so
// the draws are exactly those of the desktop program, and streams them to
// `writer`. With a `filter`, a name that does not fit is drawn and dropped,
// so a seed gives the same names with and without it, the unfitting left
// out; the run gives up after `missLimit` unfitting draws in a row.
CGenerationOutcome GenerateNames(CNameType& nameType, std::uint64_t count,
                                 const CNameFilter* filter, std::uint64_t missLimit,
                                 CNameWriter& writer);

// The same without repeating a name: a draw that repeats a printed name
// counts as one that does not fit.
CGenerationOutcome GenerateUniqueNames(CNameType& nameType, std::uint64_t count,
                                       const CNameFilter* filter, std::uint64_t missLimit,
                                       CNameWriter& writer);
