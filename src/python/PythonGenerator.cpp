#include "PythonGenerator.h"

#include <cstdint>
#include <string_view>

#include "ModuleText.h"
#include "NameCollector.h"
#include "PythonArguments.h"
#include "PythonError.h"

namespace py = pybind11;

namespace {

// A long run looks for Ctrl+C after this many names, as the GIL must be
// taken for it.
constexpr std::uint64_t kSignalStride = std::uint64_t{1} << 16;

// The same message the core gives when memory runs out during a run.
constexpr std::string_view kOutOfMemoryMessage =
    "Der Arbeitsspeicher reicht nicht für weitere Namen.";

}  // namespace

py::list CPythonGenerator::Names(const veltrano::Request& request, bool raw) {
    if (m_runner.load() == std::this_thread::get_id()) {
        throw py::value_error("Der Generator macht in diesem Thread schon Namen.");
    }
    CNameCollector collector(raw);
    bool interrupted = false;
    const auto sink = [&](std::string_view name) {
        if (!collector.Take(name)) return false;
        if (collector.Count() % kSignalStride != 0) return true;
        const py::gil_scoped_acquire gil;
        interrupted = PyErr_CheckSignals() != 0;
        return !interrupted;
    };
    veltrano::Result<std::uint64_t> made;
    {
        const py::gil_scoped_release release;
        const std::lock_guard<std::mutex> lock(m_busy);
        m_runner = std::this_thread::get_id();
        // The library keeps every exception in, so m_runner is always reset.
        made = m_generator.names(request, sink, CNameCollector::kKeptBytesPerName);
        m_runner = std::thread::id();
    }
    // The signal handler's exception (KeyboardInterrupt) is set already.
    if (interrupted) throw py::error_already_set();
    if (collector.RanOutOfMemory()) RaiseError(kOutOfMemoryMessage);
    py::list names = collector.TakeList();
    if (!made) RaiseError(made.error, names);
    return names;
}

void AddGeneratorType(py::module_& module) {
    py::class_<CPythonGenerator>(module, "Generator", kGeneratorDoc)
        .def(
            "names",
            [](CPythonGenerator& generator, const py::handle& culture, const py::handle& nameType,
               const py::handle& count, bool unique, const py::handle& startsWith,
               const py::handle& endsWith, const py::handle& minLength, const py::handle& maxLength,
               const py::handle& avoid, const py::handle& avoidContaining, bool raw) {
                veltrano::Request request;
                request.culture = TextArgument(culture, "culture");
                request.name_type = TextArgument(nameType, "name_type");
                request.count = CountArgument(count, "count");
                request.unique = unique;
                request.starts_with = OptionalTextArgument(startsWith, "starts_with");
                request.ends_with = OptionalTextArgument(endsWith, "ends_with");
                request.min_length = OptionalCountArgument(minLength, "min_length");
                request.max_length = OptionalCountArgument(maxLength, "max_length");
                request.avoid = TextListArgument(avoid, "avoid");
                request.avoid_containing = TextListArgument(avoidContaining, "avoid_containing");
                return generator.Names(request, raw);
            },
            py::arg("culture"), py::arg("name_type"), py::arg("count") = 1, py::kw_only(),
            py::arg("unique") = false, py::arg("starts_with") = py::none(),
            py::arg("ends_with") = py::none(), py::arg("min_length") = py::none(),
            py::arg("max_length") = py::none(), py::arg("avoid") = py::none(),
            py::arg("avoid_containing") = py::none(), py::arg("raw") = false, kGeneratorNamesDoc);
}
