#include "PythonError.h"

#include "ModuleText.h"
#include "PythonText.h"

namespace py = pybind11;

namespace {

// The type lives as long as the interpreter: the module holds it, and this
// reference is never given back, so that no destructor runs after Python
// has finalised.
PyObject* errorType = nullptr;

}  // namespace

void AddErrorType(py::module_& module) {
    errorType = PyErr_NewExceptionWithDoc("veltrano.Error", kErrorDoc, PyExc_Exception, nullptr);
    if (errorType == nullptr) throw py::error_already_set();
    const py::handle type(errorType);
    // Error("...") made by a caller has no names either: `names` is always a
    // list of its own.
    type.attr("__init__") = py::cpp_function(
        [](const py::handle& self, const py::args& args, const py::object& names) {
            py::handle(PyExc_Exception).attr("__init__")(self, *args);
            self.attr("names") = names.is_none() ? py::list() : py::list(names);
        },
        py::is_method(type), py::arg("names") = py::none());
    module.add_object("Error", type);
}

void RaiseError(std::string_view message, const py::list& names) {
    const py::object error = py::handle(errorType)(MessageText(message), py::arg("names") = names);
    PyErr_SetObject(errorType, error.ptr());
    throw py::error_already_set();
}
