// The walk over a host form's controls shared by the form helpers and the date-entry check.
#pragma once

#include <cstddef>
#include <string>

#include "velmora/dolva.h"
#include "velmora/host.h"

namespace velmora::forms_detail {

// The first n characters of the control's "Name", upper-cased (the whole name when shorter).
std::u16string NamePrefix(HostObject& control, std::size_t n, const LocaleData& loc);

// Visits every control of the form in the collection's order with the instance's Control field
// on it, as a host's For Each over the form's Controls would. A visit that throws ends the walk
// with Control still on that control; a completed walk leaves Control empty.
template <typename Visit>
void WalkControls(Dolva& self, const ObjectRef& form, Visit&& visit) {
  for (const ObjectRef& control : AsHostObject(form).Controls()) {
    self.Control = control;
    visit(AsHostObject(control));
  }
  self.Control = nullptr;
}

// Shows a box through the instance's message box service; 5 when the host handed in none.
MsgResult ShowMessage(const Dolva& self, std::u16string_view text, std::u16string_view title,
                      MsgIcon icon, MsgButtons buttons);

}  // namespace velmora::forms_detail
