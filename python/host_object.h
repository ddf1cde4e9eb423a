// Python objects as host forms and controls: the members the library reads and writes by name
// are the object's attributes.
//
// A form's controls are its "Controls" collection when it has one (a sequence, a mapping of
// names to controls, or a method returning either), otherwise its public attributes that hold
// objects (not numbers, texts, dates, collections or functions), in the order they were set:
//
//   class Form:                                   form = Form()
//       def __init__(self):                       d.Limpia_Textos("txt", form)
//           self.txtNombre = TextBox("Ana")       form.txtNombre.Text == ""
//           self.cmdSalir = Button()
//
// A control found under an attribute or a mapping key answers "Name" with that key when it has
// no Name of its own. Member names ignore case ("Text" finds a `text` attribute). A member the
// object does not have is 438; writing never creates one; a value a property setter refuses
// (TypeError, ValueError) is 13, and so is a Controls that is no collection; any other exception
// of the object's own code ends the call and reaches the caller as it was raised.
#pragma once

#include <pybind11/pybind11.h>

#include <string>
#include <string_view>
#include <vector>

#include "velmora/host.h"

namespace velmora::python {

namespace py = pybind11;

class PyHostObject final : public HostObject {
 public:
  // Called with the GIL held. `name` is the key the object was found under on its form.
  explicit PyHostObject(py::object object, std::u16string name = {});
  // Takes the GIL: the library drops its references wherever it runs.
  ~PyHostObject() override;
  PyHostObject(const PyHostObject&) = delete;
  PyHostObject& operator=(const PyHostObject&) = delete;

  // The three take the GIL for as long as they touch the object.
  Variant Get(std::u16string_view member) override;
  void Set(std::u16string_view member, const Variant& value) override;
  std::vector<ObjectRef> Controls() override;

  const py::object& object() const { return object_; }

 private:
  py::object object_;
  std::u16string name_;
};

// The reference the library holds for a Python value passed as an object: the library's own
// object inside a velmora.Object, any other value seen through its attributes. GIL held.
ObjectRef ObjectOf(py::handle value, std::u16string name = {});

// The Python exception behind the last runtime error a host object's member raised on this
// thread (an AttributeError behind 438, a TypeError behind 13), taken to become the cause of
// the velmora.Error that reports it; None when there is none. GIL held.
py::object TakeHostCause();

}  // namespace velmora::python
