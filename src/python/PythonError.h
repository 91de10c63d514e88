#pragma once

#include <pybind11/pybind11.h>

#include <string_view>

// veltrano.Error: every refusal of the library, with its German message.

// Makes the exception type and adds it to `module` as Error.
void AddErrorType(pybind11::module_& module);

// Raises veltrano.Error with the library's message (bytes, shown as text)
// and the names made before a give-up. pybind11 passes a Python exception
// through C++ only as its error_already_set, so this throws that.
[[noreturn]] void RaiseError(std::string_view message,
                             const pybind11::list& names = pybind11::list());
