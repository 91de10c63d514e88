#pragma once

#include <pybind11/pybind11.h>

#include <cstddef>
#include <string>
#include <vector>

// veltrano.Finding: one line of veltrano-cli --check, its fields as text.
struct CPythonFinding {
    std::string file;
    std::size_t line = 0;
    std::string severity;  // "Fehler" or "Warnung"
    std::string message;
    std::string text;  // the whole line --check prints
};

// The findings of veltrano-cli --check for the data an init file names, or
// for the user's settings (None). Raises veltrano.Error where --check could
// not check at all.
std::vector<CPythonFinding> CheckData(const pybind11::handle& initFile);

void AddFindingType(pybind11::module_& module);
