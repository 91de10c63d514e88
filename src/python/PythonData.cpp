#include "PythonData.h"

#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ModuleText.h"
#include "PythonArguments.h"
#include "PythonError.h"
#include "PythonStats.h"
#include "PythonText.h"

namespace py = pybind11;

namespace {

py::list TextList(const std::vector<std::string>& items, bool raw) {
    py::list list;
    for (const std::string& item : items) {
        if (raw) {
            list.append(py::bytes(item));
        } else {
            list.append(ShownText(item));
        }
    }
    return list;
}

}  // namespace

CPythonData CPythonData::Open(const py::handle& initFile) {
    const std::optional<std::string> path = InitFileArgument(initFile);
    veltrano::Result<veltrano::Data> opened;
    {
        // Loading large data takes a while; other threads go on meanwhile.
        const py::gil_scoped_release release;
        opened = path ? veltrano::Data::open(*path) : veltrano::Data::open();
    }
    if (!opened) RaiseError(opened.error);
    return CPythonData(std::move(opened.value));
}

py::list CPythonData::Cultures(bool raw) const { return TextList(m_data.cultures(), raw); }

py::list CPythonData::NameTypes(const py::handle& culture, bool raw) const {
    const veltrano::Result<std::vector<std::string>> types =
        m_data.name_types(TextArgument(culture, "culture"));
    if (!types) RaiseError(types.error);
    return TextList(types.value, raw);
}

std::unique_ptr<CPythonGenerator> CPythonData::Generator(const py::handle& seed) const {
    const std::optional<std::uint32_t> value = SeedArgument(seed);
    return std::make_unique<CPythonGenerator>(value ? m_data.generator(*value)
                                                    : m_data.generator());
}

void AddDataType(py::module_& module) {
    py::class_<CPythonData>(module, "Data", kDataDoc)
        .def("cultures", &CPythonData::Cultures, py::arg("raw") = false, kDataCulturesDoc)
        .def("name_types", &CPythonData::NameTypes, py::arg("culture"), py::arg("raw") = false,
             kDataNameTypesDoc)
        .def("generator", &CPythonData::Generator, py::arg("seed") = py::none(), kDataGeneratorDoc)
        .def(
            "stats",
            [](const CPythonData& data, const py::handle& culture, const py::handle& nameType) {
                return StatsOf(data.Data(), culture, nameType);
            },
            py::arg("culture") = py::none(), py::arg("name_type") = py::none(), kDataStatsDoc);
}
