#pragma once

#include <cstdint>

class CNameType;
class CNameWriter;

struct CGenerationOutcome {
    enum class Status {
        kDone,
        kWriteFailed,
        // --unique: the miss limit was reached before the count.
        kNoNewNames,
    };
    Status status = Status::kDone;
    std::uint64_t written = 0;
};

// Makes `count` names of `nameType` through the core's own generation, so
// the draws are exactly those of the desktop program, and streams them to
// `writer`.
CGenerationOutcome GenerateNames(CNameType& nameType, std::uint64_t count, CNameWriter& writer);

// How many names of `nameLength` bytes on average --unique can remember in
// the memory available now: every name produced is kept, and a count that
// cannot fit is refused before anything is written rather than ending in
// the system's out-of-memory killer. The cost of a stored name is measured,
// not assumed.
std::uint64_t MaxUniqueNamesInMemory(double nameLength);

// The same without repeating a name. Gives up when `missLimit` draws in a
// row bring no new name.
CGenerationOutcome GenerateUniqueNames(CNameType& nameType, std::uint64_t count,
                                       std::uint64_t missLimit, CNameWriter& writer);
