#include "PythonArguments.h"

#include <limits>

namespace py = pybind11;

namespace {

std::string TypeName(const py::handle& value) { return Py_TYPE(value.ptr())->tp_name; }

// An int from 0 to `highest`, where `expected` says in German what the
// argument takes.
std::uint64_t IntegerArgument(const py::handle& value, const char* name, std::uint64_t highest,
                              const std::string& expected) {
    // The common case, a plain int in range, without creating objects.
    if (PyLong_CheckExact(value.ptr())) {
        const unsigned long long number = PyLong_AsUnsignedLongLong(value.ptr());
        if (number == static_cast<unsigned long long>(-1) && PyErr_Occurred() != nullptr) {
            PyErr_Clear();
        } else if (number <= highest) {
            return number;
        }
    }
    if (PyIndex_Check(value.ptr()) == 0) {
        throw py::type_error(std::string(name) + ": " + expected + " erwartet, nicht " +
                             TypeName(value) + ".");
    }
    const auto number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
    if (!number) throw py::error_already_set();
    if (number < py::int_(0) || number > py::int_(highest)) {
        throw py::value_error(std::string(name) + ": " + expected + " erwartet, nicht " +
                              std::string(py::repr(number)) + ".");
    }
    return number.cast<std::uint64_t>();
}

const std::string kCountExpected =
    "eine ganze Zahl von 0 bis " + std::to_string(std::numeric_limits<std::uint64_t>::max());

}  // namespace

std::string TextArgument(const py::handle& value, const char* name) {
    if (PyUnicode_Check(value.ptr())) {
        Py_ssize_t size = 0;
        // A str that holds lone surrogates has no UTF-8: UnicodeEncodeError.
        const char* utf8 = PyUnicode_AsUTF8AndSize(value.ptr(), &size);
        if (utf8 == nullptr) throw py::error_already_set();
        return {utf8, static_cast<std::size_t>(size)};
    }
    if (PyBytes_Check(value.ptr())) {
        return {PyBytes_AS_STRING(value.ptr()),
                static_cast<std::size_t>(PyBytes_GET_SIZE(value.ptr()))};
    }
    throw py::type_error(std::string(name) + ": str oder bytes erwartet, nicht " + TypeName(value) +
                         ".");
}

std::vector<std::string> TextListArgument(const py::handle& value, const char* name) {
    std::vector<std::string> entries;
    if (value.is_none()) return entries;
    if (PyUnicode_Check(value.ptr()) || PyBytes_Check(value.ptr()) ||
        !py::isinstance<py::iterable>(value)) {
        throw py::type_error(std::string(name) +
                             ": eine Folge von str oder bytes erwartet (eine Liste), nicht " +
                             TypeName(value) + ".");
    }
    for (const py::handle entry : py::reinterpret_borrow<py::iterable>(value)) {
        entries.push_back(TextArgument(entry, name));
    }
    return entries;
}

std::optional<std::string> OptionalTextArgument(const py::handle& value, const char* name) {
    if (value.is_none()) return std::nullopt;
    if (!PyUnicode_Check(value.ptr()) && !PyBytes_Check(value.ptr())) {
        throw py::type_error(std::string(name) + ": None, str oder bytes erwartet, nicht " +
                             TypeName(value) + ".");
    }
    return TextArgument(value, name);
}

std::uint64_t CountArgument(const py::handle& value, const char* name) {
    return IntegerArgument(value, name, std::numeric_limits<std::uint64_t>::max(), kCountExpected);
}

std::optional<std::uint64_t> OptionalCountArgument(const py::handle& value, const char* name) {
    if (value.is_none()) return std::nullopt;
    return IntegerArgument(value, name, std::numeric_limits<std::uint64_t>::max(),
                           "None oder " + kCountExpected);
}

std::optional<std::uint32_t> SeedArgument(const py::handle& value) {
    if (value.is_none()) return std::nullopt;
    constexpr std::uint32_t kHighest = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(
        IntegerArgument(value, "seed", kHighest,
                        "None oder eine ganze Zahl von 0 bis " + std::to_string(kHighest)));
}

std::optional<std::string> InitFileArgument(const py::handle& value) {
    if (value.is_none()) return std::nullopt;
    const py::bytes path = py::module_::import("os").attr("fsencode")(value);
    return std::string(path);
}
