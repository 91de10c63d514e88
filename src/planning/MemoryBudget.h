#pragma once

#include <cstdint>

#include <cstddef>

// How many names of `nameLength` bytes on average fit in the memory available
// now, when each costs the caller `keptBytesPerName` besides its bytes and,
// for `unique`, a place in the set that remembers every name made. A count
// that cannot fit is refused before anything is made rather than ending in
// the system's out-of-memory killer. The cost of a remembered name is
// measured, not assumed.
std::uint64_t MaxNamesInMemory(double nameLength, bool unique, std::size_t keptBytesPerName);
