#include "PythonFinding.h"

#include <veltrano/veltrano.hpp>

#include <optional>
#include <utility>

#include "ModuleText.h"
#include "PythonArguments.h"
#include "PythonError.h"
#include "PythonText.h"

namespace py = pybind11;

std::vector<CPythonFinding> CheckData(const py::handle& initFile) {
    const std::optional<std::string> path = InitFileArgument(initFile);
    veltrano::Result<veltrano::CheckReport> report;
    {
        const py::gil_scoped_release release;
        report = path ? veltrano::check(*path) : veltrano::check();
    }
    if (!report) RaiseError(report.error);
    std::vector<CPythonFinding> findings;
    findings.reserve(report.value.findings.size());
    for (const veltrano::Finding& finding : report.value.findings) {
        const bool error = finding.severity == veltrano::Finding::Severity::error;
        CPythonFinding shown{ShownUtf8(finding.file),
                             finding.line,
                             error ? "Fehler" : "Warnung",
                             MessageUtf8(finding.message),
                             {}};
        // The line --check prints (Finding::text()), made of the fields as
        // shown, so that it reads as they do.
        shown.text = shown.file + (shown.line > 0 ? ":" + std::to_string(shown.line) : "") + ": " +
                     shown.severity + ": " + shown.message;
        findings.push_back(std::move(shown));
    }
    return findings;
}

void AddFindingType(py::module_& module) {
    py::class_<CPythonFinding>(module, "Finding", kFindingDoc)
        .def_readonly("file", &CPythonFinding::file, kFindingFileDoc)
        .def_readonly("line", &CPythonFinding::line, kFindingLineDoc)
        .def_readonly("severity", &CPythonFinding::severity, kFindingSeverityDoc)
        .def_readonly("message", &CPythonFinding::message, kFindingMessageDoc)
        .def("__str__", [](const CPythonFinding& finding) { return finding.text; })
        .def("__repr__",
             [](const CPythonFinding& finding) {
                 return py::str("veltrano.Finding(file={!r}, line={}, severity={!r}, message={!r})")
                     .format(finding.file, finding.line, finding.severity, finding.message);
             })
        .attr("__module__") = "veltrano";
}
