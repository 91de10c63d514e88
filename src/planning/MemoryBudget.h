#pragma once

#include <cstdint>

// How many names of `nameLength` bytes on average --unique can remember in
// the memory available now: every name produced is kept, and a count that
// cannot fit is refused before anything is written rather than ending in
// the system's out-of-memory killer. The cost of a stored name is measured,
// not assumed.
std::uint64_t MaxUniqueNamesInMemory(double nameLength);
