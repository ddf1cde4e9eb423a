// The control walks over a host form and the height effect.
#include <limits>

#include "forms/walk.h"
#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/forms.h"

namespace velmora {

namespace forms_detail {

std::u16string NamePrefix(HostObject& control, std::size_t n, const LocaleData& loc) {
  const std::u16string name = ToText(control.Get(u"Name"), loc);
  return UpperCase(std::u16string_view(name).substr(0, n));
}

}  // namespace forms_detail

namespace {

using forms_detail::NamePrefix;
using forms_detail::WalkControls;

}  // namespace

void Dolva::Efx(std::int16_t& Min, std::int16_t& Max, bool Modo, const ObjectRef& xForma) {
  // The loop counter is a 16-bit Integer: the step past the last height is computed like any
  // other and overflows when it leaves the range, after the heights before it were set.
  constexpr std::int32_t kLow = std::numeric_limits<std::int16_t>::min();
  constexpr std::int32_t kHigh = std::numeric_limits<std::int16_t>::max();
  const std::int32_t step = Modo ? 5 : -5;
  const std::int32_t last = Modo ? Max : Min;
  std::int32_t h = Modo ? Min : Max;  // [-32768, 32767]
  while (Modo ? h <= last : h >= last) {
    AsHostObject(xForma).Set(u"Height", Variant(static_cast<std::int16_t>(h)));
    if (services().events) services().events->ProcessPending();
    h += step;  // [-32773, 32772]
    if (h < kLow || h > kHigh) throw Error(err::kOverflow);
  }
}

void Dolva::Botones(bool& Opcion, const ObjectRef& Forma) {
  WalkControls(*this, Forma, [&](HostObject& c) {
    const std::u16string kind = NamePrefix(c, 3, locale());
    if (kind == u"CMD" || kind == u"BTN") c.Set(u"Enabled", Variant(Opcion));
  });
}

void Dolva::Objetos(std::u16string& Ctrl, bool& Var, const ObjectRef& xForma) {
  const std::u16string wanted = UpperCase(Ctrl);
  WalkControls(*this, xForma, [&](HostObject& c) {
    if (NamePrefix(c, 3, locale()) == wanted) c.Set(u"Enabled", Variant(Var));
  });
}

void Dolva::ObjetosValor(std::u16string& Ctrl, Variant& Var, const ObjectRef& xForma) {
  const std::u16string wanted = UpperCase(Ctrl);
  WalkControls(*this, xForma, [&](HostObject& c) {
    if (NamePrefix(c, 3, locale()) == wanted) c.Set(u"Value", Var);
  });
}

void Dolva::Limpia_Textos(const std::u16string& Campo, const ObjectRef& xForma) {
  const std::u16string wanted = UpperCase(Campo);
  WalkControls(*this, xForma, [&](HostObject& c) {
    if (NamePrefix(c, wanted.size(), locale()) == wanted) c.Set(u"Text", Variant(u""));
  });
}

}  // namespace velmora
