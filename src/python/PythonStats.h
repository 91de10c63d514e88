#pragma once

#include <pybind11/pybind11.h>

#include <veltrano/veltrano.hpp>

#include <optional>
#include <string>
#include <vector>

// veltrano.Stats: what veltrano-cli --stats shows of one name type.
struct CPythonStats {
    std::string culture;  // as shown
    std::string nameType;
    veltrano::Stats stats;
};

// The rows of Data.stats(culture=None, name_type=None). Raises veltrano.Error
// for an unknown culture or name type.
std::vector<CPythonStats> StatsOf(const veltrano::Data& data, const pybind11::handle& culture,
                                  const pybind11::handle& nameType);

void AddStatsType(pybind11::module_& module);
