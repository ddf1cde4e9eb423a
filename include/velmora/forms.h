// Forms and user access: the control walks over a host form, the access-rights test and the
// in-memory host form for hosts without a toolkit.
//
// The routines themselves are methods of Dolva (see dolva.h):
//   Efx(Min, Max, Modo, xForma)         grows (Modo true) or shrinks the form's "Height" by steps
//                                       of 5 between Min and Max, letting window events run after
//                                       every step: Efx(1000, 1012, true, f) sets 1000, 1005, 1010.
//   Botones(Opcion, Forma)              "Enabled" of every control named "cmd..." or "btn...".
//   Objetos(Ctrl, Var, xForma)          "Enabled" of the controls whose first three letters are
//                                       Ctrl; a Ctrl of another length than three selects none.
//   ObjetosValor(Ctrl, Var, xForma)     "Value", same selection, the variant passed unchanged.
//   Limpia_Textos(Campo, xForma)        empties "Text" of the controls whose names start with
//                                       Campo (any length; an empty Campo selects all).
//   Derecho(n, sDerechos, Mensaje, Modulo)
//                                       whether right n (1 = the last character) is "1":
//                                       Derecho(2, "0011") == true, Derecho(3, "0011") == false;
//                                       with Mensaje, a missing right shows the warning box.
//   FechaValida(Fec, Cont, Forma)       checks a "dd/mm/yyyy" entry; an accepted date is written,
//                                       normalised, into the "Text" of every control whose name
//                                       starts with Cont ("31/02/2009" -> "28/02/2009") and the
//                                       result is false; a rejected one is explained in a box and
//                                       the result is true.
//
// Names compare upper-cased. The walks keep the visited control in Dolva::Control; a walk that
// completes leaves it empty, a walk that fails leaves it on the failing control. A selected
// control without the property fails the call with 438 and the controls changed before it stay
// changed. Messages go through Services::message_box; a Services without one makes a routine
// that must show a box fail with 5.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "velmora/host.h"
#include "velmora/locale.h"
#include "velmora/variant.h"

namespace velmora {

// A property of an in-memory control or form and its initial value. The kind of the initial value
// is the kind the property keeps: a Boolean property takes only what converts to a Boolean (13
// otherwise), a text property stores text, an Integer or Long property whole numbers (6 when out
// of range), an object property (one that starts as an empty reference, like "Picture") an object
// or Nothing; a property that starts Empty stores whatever it is given, unchanged.
using PropertyList = std::vector<std::pair<std::u16string, Variant>>;

// One control of a MemoryForm: a "Name" and the properties fixed when it was created. Reading or
// writing any other member is 438; writing never adds a property, and a write that fails leaves
// the old value.
class MemoryControl final : public HostObject {
 public:
  MemoryControl(std::u16string name, PropertyList properties,
                std::shared_ptr<const LocaleData> locale);

  Variant Get(std::u16string_view member) override;
  void Set(std::u16string_view member, const Variant& value) override;
  // A control holds no controls: 438.
  std::vector<ObjectRef> Controls() override;

  const std::u16string& name() const { return name_; }

 private:
  friend class MemoryForm;
  Variant* Find(std::u16string_view member);

  std::u16string name_;
  PropertyList properties_;
  std::shared_ptr<const LocaleData> locale_;
};

// A host form kept in memory: its own properties ("Name", "Caption", "Height", "Width",
// "Enabled" unless others are given) and a "Controls" collection in the order the controls were
// added.
//   MemoryForm form(u"frmAlta");
//   form.AddTextBox(u"txtNombre");
//   form.AddButton(u"cmdSalir");
//   form.Controls().size()  // == 2
class MemoryForm final : public HostObject {
 public:
  explicit MemoryForm(std::u16string name = u"Form1", LocaleData locale = SpanishMexico());
  MemoryForm(std::u16string name, PropertyList properties, LocaleData locale = SpanishMexico());

  Variant Get(std::u16string_view member) override;
  void Set(std::u16string_view member, const Variant& value) override;
  std::vector<ObjectRef> Controls() override;

  // Adds a control at the end of the collection.
  std::shared_ptr<MemoryControl> Add(std::u16string name, PropertyList properties);
  // Controls of the usual kinds, each with the properties that kind has on a host form:
  // a text box has "Text", "Enabled", "Visible", "Height", "Width"; a label and a command button
  // have "Caption" and no "Text"; a check box has an Integer "Value" (0, 1 or 2); an option
  // button a Boolean "Value"; an image box "Picture" and "Stretch".
  std::shared_ptr<MemoryControl> AddTextBox(std::u16string name, std::u16string text = {});
  std::shared_ptr<MemoryControl> AddLabel(std::u16string name, std::u16string caption = {});
  std::shared_ptr<MemoryControl> AddButton(std::u16string name, std::u16string caption = {});
  std::shared_ptr<MemoryControl> AddCheckBox(std::u16string name);
  std::shared_ptr<MemoryControl> AddOptionButton(std::u16string name);
  std::shared_ptr<MemoryControl> AddImage(std::u16string name);

  // The control of that name (ignoring case), or null.
  std::shared_ptr<MemoryControl> Find(std::u16string_view name) const;

 private:
  std::shared_ptr<const LocaleData> locale_;
  MemoryControl self_;  // the form's own name and properties
  std::vector<std::shared_ptr<MemoryControl>> controls_;
};

}  // namespace velmora
