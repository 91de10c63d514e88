#pragma once

#include <pybind11/pybind11.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Python arguments as the library takes them. A wrong type raises TypeError
// and a number out of range ValueError, as Python's own functions do, with a
// German message that names the argument.

// str (passed as its UTF-8 bytes, which the library matches against
// Windows-1252 data itself) or bytes (passed unchanged).
std::string TextArgument(const pybind11::handle& value, const char* name);
// The same, or None.
std::optional<std::string> OptionalTextArgument(const pybind11::handle& value, const char* name);

// None (no entries) or an iterable of str and bytes, each as TextArgument
// takes it; a lone str or bytes is refused, as its letters would become the
// entries.
std::vector<std::string> TextListArgument(const pybind11::handle& value, const char* name);

// An int from 0 to 2^64 - 1 (or anything with __index__).
std::uint64_t CountArgument(const pybind11::handle& value, const char* name);
// The same, or None.
std::optional<std::uint64_t> OptionalCountArgument(const pybind11::handle& value, const char* name);

// None, or an int from 0 to 4294967295: what veltrano-cli --seed takes.
std::optional<std::uint32_t> SeedArgument(const pybind11::handle& value);

// None, or an init file's path as str, bytes or os.PathLike, in the bytes
// the file system takes (os.fsencode).
std::optional<std::string> InitFileArgument(const pybind11::handle& value);
