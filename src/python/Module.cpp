// The extension veltrano._veltrano, which the package veltrano re-exports.
// It wraps the C++ interface of libveltrano.so.0 and nothing else.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <veltrano/veltrano.hpp>

#include <string>

#include "ModuleText.h"
#include "PythonData.h"
#include "PythonError.h"
#include "PythonFinding.h"
#include "PythonGenerator.h"
#include "PythonStats.h"

namespace py = pybind11;

PYBIND11_MODULE(_veltrano, module) {
    // The docstrings start with the calls as Python users write them.
    py::options options;
    options.disable_function_signatures();

    module.doc() = kModuleDoc;
    module.attr("__version__") = std::string(veltrano::version());
    AddErrorType(module);
    AddFindingType(module);
    AddStatsType(module);
    AddGeneratorType(module);
    AddDataType(module);
    module.def("open", &CPythonData::Open, py::arg("init_file") = py::none(), kOpenDoc);
    module.def("check", &CheckData, py::arg("init_file") = py::none(), kCheckDoc);
}
