// The Python module `velmora`: Dolva and APIs with every operation and field of the dispatch
// table under its own name, called as the other faces call them.
//
//   >>> import velmora
//   >>> velmora.Dolva().Letras(1234.5)
//   'UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N.'
//
// The classes carry no method of their own: when the module loads, each operation of the table
// becomes a method descriptor on its class and each field a property, and any other spelling of
// a name is looked up in the table, ignoring case, as the automation runtime does.
#include <pybind11/pybind11.h>
#include <structmember.h>

#include <array>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "convert.h"
#include "host_object.h"
#include "services.h"
#include "signature.h"
#include "velmora/coerce.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/utf.h"

namespace velmora::python {

namespace {

// What a Python object of either class holds. The mutex lets one thread at a time into the
// instance (its fields are plain values); it is taken with the GIL released, and is recursive
// because a host object's code may call the same instance again from inside a routine.
template <class C>
struct Instance {
  explicit Instance(std::shared_ptr<Services> s) : services(std::move(s)), object(services) {}
  std::shared_ptr<Services> services;
  C object;
  std::recursive_mutex mutex;
};
using DolvaInstance = Instance<Dolva>;
using ApisInstance = Instance<APIs>;

// The instance a call goes to, whichever its class.
struct Target {
  void* object = nullptr;
  std::recursive_mutex* mutex = nullptr;
  bool spanish = true;
};

template <class C>
Target TargetOf(Instance<C>& instance) {
  return {&instance.object, &instance.mutex, instance.services->locale.spanish};
}

// Module-wide objects, created when the module loads and kept for the life of the process.
PyObject* g_error = nullptr;      // velmora.Error
PyObject* g_no_member = nullptr;  // velmora.NoMemberError
PyTypeObject* g_ref_type = nullptr;
PyTypeObject* g_dolva_type = nullptr;
PyTypeObject* g_apis_type = nullptr;
PyObject* g_default_apis = nullptr;    // the instance behind calls on the APIs class itself
std::vector<PyObject*> g_descriptors;  // one per entry of Surface(), null for non-methods

// Raises the Python form of a runtime error: velmora.Error(number, description) with the
// description in the instance's language, caused by the exception of a host object's code when
// one was behind it.
void SetError(const Error& e, bool spanish, PyObject* type = nullptr) {
  if (type == nullptr) type = g_error;
  py::object error =
      py::reinterpret_borrow<py::object>(type)(e.number(), PyText(e.description(spanish)));
  py::object cause = TakeHostCause();
  if (!cause.is_none()) PyException_SetCause(error.ptr(), cause.release().ptr());
  PyErr_SetObject(type, error.ptr());
}

// Runs `f`, turning whatever it throws into the pending Python exception; null then.
template <class F>
PyObject* Guarded(bool spanish, F&& f) noexcept {
  try {
    try {
      return f();
    } catch (const Error& e) {
      SetError(e, spanish);
    } catch (py::error_already_set& e) {
      e.restore();
    } catch (const py::builtin_exception& e) {
      e.set_error();
    }
  } catch (py::error_already_set& e) {
    e.restore();
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_RuntimeError, e.what());
  } catch (...) {
    PyErr_SetString(PyExc_RuntimeError, "velmora: unknown C++ exception");
  }
  return nullptr;
}

// The same for code that pybind11 calls: the error leaves as a Python exception.
template <class F>
auto Translated(bool spanish, F&& f) {
  try {
    return f();
  } catch (const Error& e) {
    SetError(e, spanish);
    throw py::error_already_set();
  }
}

// Lets other Python threads run while the library works.
class WithoutGil {
 public:
  WithoutGil() : state_(PyEval_SaveThread()) {}
  ~WithoutGil() { PyEval_RestoreThread(state_); }
  WithoutGil(const WithoutGil&) = delete;
  WithoutGil& operator=(const WithoutGil&) = delete;

 private:
  PyThreadState* state_;
};

const Param* FindParam(const Operation& op, std::u16string_view name) {
  for (const Param& p : op.params) {
    if (SameName(p.name, name) || (!p.alias.empty() && SameName(p.alias, name))) return &p;
  }
  return nullptr;
}

// One argument of a call: a velmora.Ref gives its value and takes back what the routine wrote.
void Fill(Argument& arg, PyObject*& box, PyObject* value, ParamType type) {
  if (PyObject_TypeCheck(value, g_ref_type)) {
    box = value;
    arg.value = ToVariant(py::handle(value).cast<RefBox&>().value, type);
  } else {
    arg.value = ToVariant(value, type);
  }
}

// Calls an entry of the table with Python arguments: the positional ones, then those named in
// `kwnames` (a tuple of names, or null) whose values follow them in `args`.
PyObject* CallOperation(const Operation& op, const Target& target, PyObject* const* args,
                        Py_ssize_t nargs, PyObject* kwnames) {
  const Py_ssize_t nkw = kwnames == nullptr ? 0 : PyTuple_GET_SIZE(kwnames);
  if (static_cast<std::size_t>(nargs) > op.params.size()) throw Error(err::kWrongArgCount);
  const auto count = static_cast<std::size_t>(nargs + nkw);
  std::vector<Argument> call(count);
  // The velmora.Ref box of each argument, if any. Named arguments may outnumber the parameters
  // (the call then fails with a calling error), hence room for more than the table's most.
  std::array<PyObject*, 16> few{};
  std::vector<PyObject*> many(count > few.size() ? count : 0, nullptr);
  PyObject** boxes = many.empty() ? few.data() : many.data();
  for (std::size_t i = 0; i < static_cast<std::size_t>(nargs); ++i)
    Fill(call[i], boxes[i], args[i], op.params[i].type);
  for (std::size_t j = static_cast<std::size_t>(nargs); j < count; ++j) {
    call[j].name = TextOf(PyTuple_GET_ITEM(kwnames, static_cast<Py_ssize_t>(j) - nargs));
    const Param* p = FindParam(op, call[j].name);
    if (p == nullptr) throw Error(err::kNamedArgNotFound);
    Fill(call[j], boxes[j], args[j], p->type);
  }
  Variant result;
  std::exception_ptr failure;
  {
    WithoutGil nogil;
    const std::lock_guard lock(*target.mutex);
    try {
      result = Invoke(target.object, op, call);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  // By-reference variables show what the routine wrote, also when it failed afterwards.
  for (std::size_t k = 0; k < count; ++k) {
    if (boxes[k] != nullptr && call[k].written)
      py::handle(boxes[k]).cast<RefBox&>().value = FromVariant(call[k].value);
  }
  if (failure) std::rethrow_exception(failure);
  if (op.result == ParamType::kNone) return py::none().release().ptr();
  return FromVariant(result).release().ptr();
}

// The C++ instance inside a Python object of one of the two classes, read directly: a call
// should not pay for a general conversion.
template <class C>
Instance<C>& InstanceIn(py::handle self) {
  auto* p = reinterpret_cast<py::detail::instance*>(self.ptr())
                ->get_value_and_holder()
                .template value_ptr<Instance<C>>();
  // A subclass whose __init__ did not call the class's own has no instance yet.
  if (p == nullptr) throw py::type_error("velmora: the instance was not initialised");
  return *p;
}

// The instance behind `self` for an operation of the given interface; a TypeError for anything
// else.
Target TargetFor(Interface iface, py::handle self) {
  if (iface == Interface::kDolva && PyObject_TypeCheck(self.ptr(), g_dolva_type))
    return TargetOf(InstanceIn<Dolva>(self));
  if (iface == Interface::kAPIs && PyObject_TypeCheck(self.ptr(), g_apis_type))
    return TargetOf(InstanceIn<APIs>(self));
  throw py::type_error(std::string("velmora: a method of ") +
                       (iface == Interface::kDolva ? "Dolva" : "APIs") + " called on " +
                       Py_TYPE(self.ptr())->tp_name);
}

PyObject* DefaultApis();

// ---- Method descriptors: one per operation of the table ----------------------------------------

// A method of Dolva or APIs. It is a method descriptor in CPython's sense, so `d.Letras(x)` calls
// it with `d` in front of the arguments without building a bound method first.
struct OperationObject {
  PyObject ob_base;  // what PyObject_HEAD stands for
  vectorcallfunc vectorcall;
  const Operation* op;
  PyObject* signature;  // inspect.Signature, built when first asked for
};

OperationObject* AsOperation(PyObject* self) { return reinterpret_cast<OperationObject*>(self); }

PyObject* OperationCall(PyObject* callable, PyObject* const* args, std::size_t nargsf,
                        PyObject* kwnames) {
  const Operation& op = *AsOperation(callable)->op;
  const Py_ssize_t nargs = PyVectorcall_NARGS(nargsf);
  if (nargs < 1) {
    PyErr_Format(PyExc_TypeError, "velmora: %s needs the instance to call it on",
                 ToUtf8(op.name).c_str());
    return nullptr;
  }
  Target target;
  if (Guarded(true, [&] {
        target = TargetFor(op.iface, args[0]);
        return Py_None;
      }) == nullptr)
    return nullptr;
  return Guarded(target.spanish,
                 [&] { return CallOperation(op, target, args + 1, nargs - 1, kwnames); });
}

PyObject* OperationGet(PyObject* self, PyObject* instance, PyObject* /*type*/) {
  if (instance != nullptr && instance != Py_None) return PyMethod_New(self, instance);
  // APIs is also called without an instance, through one the module keeps.
  if (AsOperation(self)->op->iface == Interface::kAPIs) {
    PyObject* apis = DefaultApis();
    return apis == nullptr ? nullptr : PyMethod_New(self, apis);
  }
  Py_INCREF(self);
  return self;
}

void OperationDealloc(PyObject* self) {
  Py_XDECREF(AsOperation(self)->signature);
  PyTypeObject* type = Py_TYPE(self);
  type->tp_free(self);
  Py_DECREF(type);
}

PyObject* OperationRepr(PyObject* self) {
  const Operation& op = *AsOperation(self)->op;
  return PyUnicode_FromFormat("<velmora method %s.%s>",
                              op.iface == Interface::kDolva ? "Dolva" : "APIs",
                              ToUtf8(op.name).c_str());
}

PyObject* OperationName(PyObject* self, void* /*closure*/) {
  return Guarded(true, [&] { return PyText(AsOperation(self)->op->name).release().ptr(); });
}

PyObject* OperationQualname(PyObject* self, void* /*closure*/) {
  const Operation& op = *AsOperation(self)->op;
  return PyUnicode_FromFormat("%s.%s", op.iface == Interface::kDolva ? "Dolva" : "APIs",
                              ToUtf8(op.name).c_str());
}

PyObject* OperationDoc(PyObject* self, void* /*closure*/) {
  return Guarded(true, [&] { return py::str(Docstring(*AsOperation(self)->op)).release().ptr(); });
}

// The parameters as inspect and help() show them: the table's names and defaults, and
// velmora.Missing for an option whose default is to be left out.
PyObject* OperationSignature(PyObject* self, void* /*closure*/) {
  auto* o = AsOperation(self);
  if (o->signature == nullptr) {
    PyObject* built = Guarded(true, [&] {
      const py::module_ inspect = py::module_::import("inspect");
      const py::object parameter = inspect.attr("Parameter");
      const py::object missing = py::module_::import("velmora").attr("Missing");
      py::list params;
      params.append(parameter("self", parameter.attr("POSITIONAL_ONLY")));
      for (const Param& p : o->op->params) {
        py::object value = parameter.attr("empty");
        if (p.default_value.kind != DefaultValue::Kind::kNone)
          value = FromVariant(p.default_value.ToVariant());
        else if (p.optional) value = missing;
        params.append(parameter(PyText(p.name), parameter.attr("POSITIONAL_OR_KEYWORD"),
                                py::arg("default") = value));
      }
      return inspect.attr("Signature")(params).release().ptr();
    });
    if (built == nullptr) return nullptr;
    o->signature = built;
  }
  Py_INCREF(o->signature);
  return o->signature;
}

PyMemberDef g_operation_members[] = {
    {"__vectorcalloffset__", T_PYSSIZET,
     static_cast<Py_ssize_t>(offsetof(OperationObject, vectorcall)), READONLY, nullptr},
    {nullptr, 0, 0, 0, nullptr}};

PyGetSetDef g_operation_getset[] = {
    {"__name__", &OperationName, nullptr, nullptr, nullptr},
    {"__qualname__", &OperationQualname, nullptr, nullptr, nullptr},
    {"__doc__", &OperationDoc, nullptr, nullptr, nullptr},
    {"__signature__", &OperationSignature, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

template <typename F>
void* Slot(F* f) {
  return reinterpret_cast<void*>(f);
}

PyType_Slot g_operation_slots[] = {{Py_tp_dealloc, Slot(&OperationDealloc)},
                                   {Py_tp_call, Slot(&PyVectorcall_Call)},
                                   {Py_tp_descr_get, Slot(&OperationGet)},
                                   {Py_tp_repr, Slot(&OperationRepr)},
                                   {Py_tp_members, g_operation_members},
                                   {Py_tp_getset, g_operation_getset},
                                   {0, nullptr}};

PyType_Spec g_operation_type_def = {"velmora.Method", sizeof(OperationObject), 0,
                                    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_METHOD_DESCRIPTOR |
                                        Py_TPFLAGS_HAVE_VECTORCALL |
                                        Py_TPFLAGS_DISALLOW_INSTANTIATION,
                                    g_operation_slots};

py::object MakeOperation(PyTypeObject* type, const Operation& op) {
  auto* o = PyObject_New(OperationObject, type);
  if (o == nullptr) throw py::error_already_set();
  o->vectorcall = &OperationCall;
  o->op = &op;
  o->signature = nullptr;
  return py::reinterpret_steal<py::object>(reinterpret_cast<PyObject*>(o));
}

PyObject* DescriptorOf(const Operation& op) {
  return g_descriptors[static_cast<std::size_t>(&op - Surface().data())];
}

// ---- Names looked up in the table -----------------------------------------------------------

Interface InterfaceOf(py::handle self) {
  return PyObject_TypeCheck(self.ptr(), g_dolva_type) ? Interface::kDolva : Interface::kAPIs;
}

py::object ReadField(py::handle self, const Operation& op) {
  const Target target = TargetFor(op.iface, self);
  return Translated(target.spanish, [&] {
    return py::reinterpret_steal<py::object>(CallOperation(op, target, nullptr, 0, nullptr));
  });
}

// Any spelling of a method or field name that the class does not hold as it is written.
py::object GetAttr(py::handle self, const py::str& name) {
  const Interface iface = InterfaceOf(self);
  const Target target = TargetFor(iface, self);
  return Translated(target.spanish, [&] {
    const std::u16string wanted = TextOf(name);
    if (const Operation* op = FindOperation(iface, wanted, Kind::kMethod)) {
      PyObject* bound = PyMethod_New(DescriptorOf(*op), self.ptr());
      if (bound == nullptr) throw py::error_already_set();
      return py::reinterpret_steal<py::object>(bound);
    }
    if (const Operation* op = FindOperation(iface, wanted, Kind::kPropGet))
      return ReadField(self, *op);
    SetError(Error(err::kNoMember), target.spanish, g_no_member);
    throw py::error_already_set();
  });
}

// Writes a field; a name that is no writable field is 438, as the automation runtime answers.
void SetAttr(py::handle self, const py::str& name, py::handle value) {
  const Interface iface = InterfaceOf(self);
  const Target target = TargetFor(iface, self);
  Translated(target.spanish, [&] {
    const std::u16string wanted = TextOf(name);
    const Operation* op = FindOperation(iface, wanted, Kind::kPropPut);
    if (op == nullptr) op = FindOperation(iface, wanted, Kind::kPropPutRef);
    if (op == nullptr) {
      SetError(Error(err::kNoMember), target.spanish, g_no_member);
      throw py::error_already_set();
    }
    PyObject* args[] = {value.ptr()};
    py::reinterpret_steal<py::object>(CallOperation(*op, target, args, 1, nullptr));
    return 0;
  });
}

// The keyword-only arguments of both constructors.
std::shared_ptr<Services> ServicesFor(const py::object& locale, const py::object& now) {
  std::string name;
  if (!locale.is_none()) {
    if (!PyUnicode_Check(locale.ptr())) throw py::type_error("velmora: locale must be a str");
    name = locale.cast<std::string>();
  }
  std::optional<Date> clock;
  if (!now.is_none()) {
    if (!IsCalendarDate(now)) throw py::type_error("velmora: now must be a datetime or a date");
    clock = Translated(true, [&] { return DateOf(now); });
  }
  return ModuleServices(name, clock);
}

PyObject* DefaultApis() {
  if (g_default_apis == nullptr) {
    g_default_apis = Guarded(true, [] {
      return py::cast(std::make_unique<ApisInstance>(ModuleServices({}, std::nullopt)))
          .release()
          .ptr();
    });
  }
  return g_default_apis;
}

template <class C>
py::class_<Instance<C>> DefineClass(py::module_& m, const char* name, const char* doc) {
  py::class_<Instance<C>> cls(m, name, doc);
  cls.def(py::init([](const py::object& locale, const py::object& now) {
            return std::make_unique<Instance<C>>(ServicesFor(locale, now));
          }),
          py::kw_only(), py::arg("locale") = py::none(), py::arg("now") = py::none());
  cls.def("__getattr__", &GetAttr);
  cls.def("__setattr__", &SetAttr);
  return cls;
}

// Every operation of the table on its class: a method descriptor for a method, a property for
// a field or property reading (writable when the table has its writing too).
void AddSurface(py::handle dolva, py::handle apis) {
  auto* type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&g_operation_type_def));
  if (type == nullptr) throw py::error_already_set();
  const py::object property = py::module_::import("builtins").attr("property");
  const auto surface = Surface();
  g_descriptors.assign(surface.size(), nullptr);
  for (const Operation& op : surface) {
    if (op.binding.fn == nullptr) continue;  // not carried by this build
    const py::handle cls = op.iface == Interface::kDolva ? dolva : apis;
    const py::object name = PyText(op.name);
    if (op.kind == Kind::kMethod) {
      py::object descriptor = MakeOperation(type, op);
      g_descriptors[static_cast<std::size_t>(&op - surface.data())] = descriptor.inc_ref().ptr();
      py::setattr(cls, name, descriptor);
    } else if (op.kind == Kind::kPropGet) {
      const py::cpp_function get([&op](py::handle self) { return ReadField(self, op); });
      py::object set = py::none();
      if (FindOperation(op.iface, op.name, Kind::kPropPut) != nullptr ||
          FindOperation(op.iface, op.name, Kind::kPropPutRef) != nullptr) {
        set = py::cpp_function(
            [name](py::handle self, py::handle value) { SetAttr(self, name, value); });
      }
      py::setattr(cls, name, property(get, set, py::none(), py::str(Docstring(op))));
    }
  }
}

py::object DefineError(py::module_& m) {
  py::object error = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "velmora.Error",
      "A runtime error of the library: its number and its standard description, in the\n"
      "language of the instance that raised it. str(e) is \"Error 13: No coinciden los tipos\".",
      PyExc_Exception, nullptr));
  if (!error) throw py::error_already_set();
  error.attr("__init__") = py::cpp_function(
      [](py::handle self, const py::object& number, const py::object& description) {
        py::setattr(self, "args", py::make_tuple(number, description));
        py::setattr(self, "number", number);
        py::setattr(self, "description", description);
      },
      py::is_method(error), py::arg("number"), py::arg("description"));
  error.attr("__str__") = py::cpp_function(
      [](py::handle self) {
        return py::str("Error {}: {}").format(self.attr("number"), self.attr("description"));
      },
      py::is_method(error));
  m.attr("Error") = error;
  g_error = error.inc_ref().ptr();

  const py::tuple bases = py::make_tuple(error, py::handle(PyExc_AttributeError));
  py::object no_member = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "velmora.NoMemberError",
      "Error 438 raised by reading or writing a name the class does not have; it is an\n"
      "AttributeError too, so hasattr() and getattr() with a default work.",
      bases.ptr(), nullptr));
  if (!no_member) throw py::error_already_set();
  m.attr("NoMemberError") = no_member;
  g_no_member = no_member.inc_ref().ptr();
  return error;
}

// A singleton of the module (Empty, Missing): falsy, printed and pickled by its name.
template <class T>
py::object DefineSingleton(py::module_& m, const char* type_name, const char* name,
                           const char* doc) {
  py::class_<T>(m, type_name, doc)
      .def("__repr__", [name](const T&) { return std::string("velmora.") + name; })
      .def("__bool__", [](const T&) { return false; })
      .def("__reduce__", [name](const T&) { return std::string(name); });
  py::object value = py::cast(T{});
  m.attr(name) = value;
  return value;
}

}  // namespace
}  // namespace velmora::python

PYBIND11_MODULE(velmora, m) {
  using namespace velmora;
  using namespace velmora::python;

  m.doc() =
      "Spanish (Mexico) business routines: amounts in words, number bases, calendar and clock\n"
      "arithmetic, date wording, host-form helpers. Dolva and APIs carry every operation and\n"
      "field of the library under its own name, matched ignoring case.";
  m.attr("__version__") = VELMORA_VERSION;

  DefineError(m);
  const py::object empty = DefineSingleton<EmptyValue>(
      m, "_EmptyType", "Empty", "A variable never assigned: the variant kind Empty.");
  const py::object missing =
      DefineSingleton<MissingValue>(m, "_MissingType", "Missing",
                                    "An optional argument left out, to leave out one in the "
                                    "middle: d.Letras(1, Missing, \"€\").");

  py::class_<RefBox> ref(m, "Ref",
                         "A variable passed by reference: the routine may replace its value.\n\n"
                         "    h = velmora.Ref(\"\")\n    d.Fillhours(h)\n    h.value  # '00:00'");
  ref.def(py::init([](py::object value) { return RefBox{std::move(value)}; }),
          py::arg("value") = empty)
      .def_readwrite("value", &RefBox::value)
      .def("__repr__", [](const RefBox& r) {
        return "velmora.Ref(" + py::repr(r.value).cast<std::string>() + ")";
      });
  ref.attr("__class_getitem__") =
      py::module_::import("builtins")
          .attr("classmethod")(py::module_::import("types").attr("GenericAlias"));
  g_ref_type = reinterpret_cast<PyTypeObject*>(ref.ptr());

  py::class_<ObjectBox>(m, "Object",
                        "An object of the library itself (such as a loaded picture) handed to "
                        "Python; it can be given back to the library.")
      .def("__repr__", [](const ObjectBox&) { return std::string("<velmora.Object>"); });

  InitConversions(empty, missing);

  auto dolva = DefineClass<Dolva>(
      m, "Dolva",
      "The routines and fields of the library. Dolva(*, locale=None, now=None): locale names the\n"
      "locale for names, marks and dates (the environment's when None), now fixes the clock.");
  dolva.def("__repr__", [](DolvaInstance& self) {
    return "<velmora.Dolva DebugID=" + std::to_string(self.object.DebugID()) + " locale='" +
           self.services->locale.name + "'>";
  });
  auto apis = DefineClass<APIs>(
      m, "APIs",
      "The system directories and the restart request. Its methods can also be called on the\n"
      "class itself (velmora.APIs.TempDir()), through an instance the module keeps.");
  apis.def("__repr__", [](ApisInstance& self) {
    return "<velmora.APIs locale='" + self.services->locale.name + "'>";
  });
  g_dolva_type = reinterpret_cast<PyTypeObject*>(dolva.ptr());
  g_apis_type = reinterpret_cast<PyTypeObject*>(apis.ptr());
  AddSurface(dolva, apis);
}
