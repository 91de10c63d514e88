#include "PythonStats.h"

#include <limits>
#include <utility>

#include "ModuleText.h"
#include "PythonArguments.h"
#include "PythonError.h"
#include "PythonText.h"

namespace py = pybind11;

std::vector<CPythonStats> StatsOf(const veltrano::Data& data, const py::handle& culture,
                                  const py::handle& nameType) {
    const std::optional<std::string> cultureText = OptionalTextArgument(culture, "culture");
    const std::optional<std::string> nameTypeText = OptionalTextArgument(nameType, "name_type");
    if (nameTypeText && !cultureText) {
        throw py::value_error("name_type braucht culture: ein Namenstyp gehört zu einer Kultur.");
    }
    veltrano::Result<std::vector<veltrano::Stats>> measured;
    {
        // Counting a large name type takes a while; other threads go on.
        const py::gil_scoped_release release;
        measured = data.stats(cultureText, nameTypeText);
    }
    if (!measured) RaiseError(measured.error);
    std::vector<CPythonStats> rows;
    rows.reserve(measured.value.size());
    for (veltrano::Stats& stats : measured.value) {
        rows.push_back({ShownUtf8(stats.culture), ShownUtf8(stats.name_type), std::move(stats)});
    }
    return rows;
}

void AddStatsType(py::module_& module) {
    py::class_<CPythonStats>(module, "Stats", kStatsDoc)
        .def_readonly("culture", &CPythonStats::culture, kStatsCultureDoc)
        .def_readonly("name_type", &CPythonStats::nameType, kStatsNameTypeDoc)
        .def_property_readonly(
            "patterns", [](const CPythonStats& row) { return row.stats.patterns; },
            kStatsPatternsDoc)
        .def_property_readonly(
            "names",
            [](const CPythonStats& row) -> py::object {
                const veltrano::Stats& stats = row.stats;
                if (stats.names_exact) return py::int_(stats.names);
                const bool bounded =
                    stats.names_at_most != std::numeric_limits<std::uint64_t>::max();
                return py::make_tuple(stats.names, bounded
                                                       ? py::object(py::int_(stats.names_at_most))
                                                       : py::object(py::none()));
            },
            kStatsNamesDoc)
        .def_property_readonly(
            "names_exact", [](const CPythonStats& row) { return row.stats.names_exact; },
            kStatsNamesExactDoc)
        .def_property_readonly(
            "repeats_in_99", [](const CPythonStats& row) { return row.stats.repeats_in_99; },
            kStatsRepeatsDoc)
        .def_property_readonly(
            "repeats_exact", [](const CPythonStats& row) { return row.stats.repeats_exact; },
            kStatsRepeatsExactDoc)
        .def_property_readonly(
            "shortest", [](const CPythonStats& row) { return row.stats.shortest; },
            kStatsShortestDoc)
        .def_property_readonly(
            "longest", [](const CPythonStats& row) { return row.stats.longest; }, kStatsLongestDoc)
        .def_property_readonly(
            "rarest", [](const CPythonStats& row) { return row.stats.rarest; }, kStatsRarestDoc)
        .def_property_readonly(
            "rarest_exact", [](const CPythonStats& row) { return row.stats.rarest_exact; },
            kStatsRarestExactDoc)
        .def("__repr__",
             [](const CPythonStats& row) {
                 return py::str("veltrano.Stats(culture={!r}, name_type={!r}, names={!r})")
                     .format(row.culture, row.nameType, py::cast(row).attr("names"));
             })
        .attr("__module__") = "veltrano";
}
