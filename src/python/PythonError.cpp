#include "PythonError.h"

#include <pybind11/eval.h>

#include "ModuleText.h"
#include "PythonText.h"

namespace py = pybind11;

namespace {

// The type lives as long as the interpreter: the module holds it, and this
// reference is never given back, so that no destructor runs after Python
// has finalised.
PyObject* errorType = nullptr;

// Written in Python, so that help() shows its __init__ as a Python user
// would write it; `names` is a list of each error's own, also for an
// Error("...") a caller makes.
constexpr const char* kErrorClass = R"(
class Error(Exception):
    def __init__(self, *args, names=None):
        super().__init__(*args)
        self.names = [] if names is None else list(names)
)";

}  // namespace

void AddErrorType(py::module_& module) {
    py::dict scope;
    scope["__builtins__"] = py::module_::import("builtins");
    scope["__name__"] = "veltrano";
    py::exec(kErrorClass, scope);
    py::object type = scope["Error"];
    type.attr("__doc__") = kErrorDoc;
    errorType = type.release().ptr();
    module.add_object("Error", errorType);
}

void RaiseError(std::string_view message, const py::list& names) {
    const py::object error = py::handle(errorType)(MessageText(message), py::arg("names") = names);
    PyErr_SetObject(errorType, error.ptr());
    throw py::error_already_set();
}
