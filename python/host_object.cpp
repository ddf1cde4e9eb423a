#include "host_object.h"

#include <optional>
#include <utility>

#include "convert.h"
#include "velmora/coerce.h"
#include "velmora/error.h"

namespace velmora::python {

namespace {

// Owned reference to the exception behind the last host-object error of the thread; a plain
// pointer because a thread may end without the GIL, when nothing of Python may be released.
thread_local PyObject* t_host_cause = nullptr;

// Turns an exception of the object's own code into the runtime error the library expects, or
// lets it go on its way to the caller. A missing member is 438; with `refused`, a value of the
// wrong kind (a property refusing one, a collection that is none) is 13.
[[noreturn]] void Translate(py::error_already_set& e, bool refused) {
  int number = 0;
  if (e.matches(PyExc_AttributeError)) {
    number = err::kNoMember;
  } else if (refused && (e.matches(PyExc_TypeError) || e.matches(PyExc_ValueError))) {
    number = err::kTypeMismatch;
  } else {
    throw e;
  }
  Py_XDECREF(t_host_cause);
  t_host_cause = e.value().inc_ref().ptr();
  throw Error(number);
}

// The first attribute in dir(object) whose name matches the member's, ignoring case.
std::optional<py::str> OtherSpelling(py::handle object, std::u16string_view member) {
  for (py::handle name : py::reinterpret_steal<py::list>(PyObject_Dir(object.ptr()))) {
    if (PyUnicode_Check(name.ptr()) && SameName(TextOf(name), member))
      return py::reinterpret_borrow<py::str>(name);
  }
  return std::nullopt;
}

// The attribute the object has for a member name: the exact spelling, or another one.
std::optional<py::str> FindMember(py::handle object, std::u16string_view member) {
  py::str exact = PyText(member);
  if (py::hasattr(object, exact)) return exact;
  return OtherSpelling(object, member);
}

bool IsControl(py::handle value) {
  return !IsPlainValue(value) && !PyCallable_Check(value.ptr()) && !PyModule_Check(value.ptr());
}

}  // namespace

PyHostObject::PyHostObject(py::object object, std::u16string name)
    : object_(std::move(object)), name_(std::move(name)) {}

PyHostObject::~PyHostObject() {
  // After the interpreter has gone there is nothing left to release.
  if (Py_IsInitialized() == 0) {
    object_.release();
    return;
  }
  py::gil_scoped_acquire gil;
  object_ = py::object();
}

Variant PyHostObject::Get(std::u16string_view member) {
  py::gil_scoped_acquire gil;
  try {
    // Read once: a property's getter is the host's code and may do more than return a value.
    PyObject* value = PyObject_GetAttr(object_.ptr(), PyText(member).ptr());
    if (value != nullptr) return ToVariant(py::reinterpret_steal<py::object>(value));
    py::error_already_set missing;
    if (!missing.matches(PyExc_AttributeError)) throw missing;
    if (auto name = OtherSpelling(object_, member)) return ToVariant(object_.attr(*name));
    if (!name_.empty() && SameName(member, u"Name")) return Variant(name_);
    Translate(missing, false);
  } catch (py::error_already_set& e) {
    Translate(e, false);
  }
}

void PyHostObject::Set(std::u16string_view member, const Variant& value) {
  py::gil_scoped_acquire gil;
  try {
    const auto name = FindMember(object_, member);
    if (!name) {
      // Writing never creates a member: the error says which one the object lacks.
      PyErr_Format(PyExc_AttributeError, "'%s' object has no attribute '%U'",
                   Py_TYPE(object_.ptr())->tp_name, PyText(member).ptr());
      throw py::error_already_set();
    }
    py::setattr(object_, *name, FromVariant(value));
  } catch (py::error_already_set& e) {
    Translate(e, true);
  }
}

std::vector<ObjectRef> PyHostObject::Controls() {
  py::gil_scoped_acquire gil;
  std::vector<ObjectRef> out;
  try {
    if (const auto name = FindMember(object_, u"Controls")) {
      py::object controls = object_.attr(*name);
      if (PyCallable_Check(controls.ptr()) && !py::hasattr(controls, "__iter__"))
        controls = controls();
      if (PyMapping_Check(controls.ptr()) && py::hasattr(controls, "items")) {
        for (py::handle item : controls.attr("items")()) {
          const py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
          out.push_back(ObjectOf(
              pair[1], PyUnicode_Check(pair[0].ptr()) ? TextOf(pair[0]) : std::u16string()));
        }
      } else {
        for (py::handle control : controls) out.push_back(ObjectOf(control));
      }
      return out;
    }
    if (!py::hasattr(object_, "__dict__")) throw Error(err::kNoMember);
    // The controls a form holds as attributes, in the order the form set them.
    for (auto [key, value] : py::dict(object_.attr("__dict__"))) {
      if (!PyUnicode_Check(key.ptr())) continue;
      std::u16string name = TextOf(key);
      if (name.empty() || name.front() == u'_' || !IsControl(value)) continue;
      out.push_back(ObjectOf(value, std::move(name)));
    }
    return out;
  } catch (py::error_already_set& e) {
    Translate(e, true);
  }
}

ObjectRef ObjectOf(py::handle value, std::u16string name) {
  if (py::isinstance<ObjectBox>(value)) return value.cast<const ObjectBox&>().object;
  return std::make_shared<PyHostObject>(py::reinterpret_borrow<py::object>(value), std::move(name));
}

py::object TakeHostCause() {
  if (t_host_cause == nullptr) return py::none();
  return py::reinterpret_steal<py::object>(std::exchange(t_host_cause, nullptr));
}

}  // namespace velmora::python
