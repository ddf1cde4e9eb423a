// Checking a date typed into a masked "dd/mm/yyyy" text box of a host form.
#include <algorithm>
#include <string>

#include "forms/walk.h"
#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora {

namespace {

// What the masked box holds when nothing was typed into it.
constexpr std::u16string_view kEmptyMask = u"  /  /    ";
// Dates of birth and of business both fall in this window of years.
constexpr std::int16_t kFirstYear = 1930;
constexpr std::int16_t kLastYear = 2029;

std::u16string Decimal(std::int16_t n) { return Widen(std::to_string(n)); }

}  // namespace

bool Dolva::FechaValida(std::u16string& Fec, std::u16string& Cont, ObjectRef& Forma) {
  // The caller sees its prefix normalised even when the date later fails to convert.
  Cont = UpperCase(TrimBlanks(Cont));
  const std::size_t n = Cont.size();

  std::int16_t day = 0;
  std::int16_t month = 0;
  std::int16_t year = 0;
  bool rejected = Fec == kEmptyMask;
  if (!rejected) {
    // A half-filled mask ("15/  /2009") is not a number: 13, before anything is shown or written.
    const std::u16string_view fec = Fec;
    day = ToInteger(Variant(std::u16string(fec.substr(0, 2))), locale());
    month = ToInteger(Variant(std::u16string(fec.substr(std::min<std::size_t>(3, fec.size()), 2))),
                      locale());
    year = ToInteger(
        Variant(std::u16string(fec.substr(fec.size() - std::min<std::size_t>(4, fec.size())))),
        locale());
    rejected = year < kFirstYear || year > kLastYear || month < 1 || month > 12;
    if (!rejected) {
      const std::int16_t length = DiasMes(month, year);
      if (day > length) day = length;
      rejected = day < 1;
    }
  }

  if (!rejected) {
    Variant zero = Variant::Missing();
    const std::u16string text = StrZero(Decimal(day), 2, zero) + u"/" +
                                StrZero(Decimal(month), 2, zero) + u"/" +
                                StrZero(Decimal(year), 4, zero);
    forms_detail::WalkControls(*this, Forma, [&](HostObject& c) {
      if (forms_detail::NamePrefix(c, n, locale()) == Cont) c.Set(u"Text", Variant(text));
    });
    return false;
  }

  std::u16string message = u"Atención Sr. Usuario:\r\n\r\n\r\n";
  message += u"Ud. capturó incorrectamente está fecha: " + Fec + u"\r\n\r\n\r\n";
  if (year < kFirstYear || year > kLastYear) {
    message += u"El rango de Años es de: 1930 al 2029, Ud. capturó: " + Decimal(year) + u"\r\n\r\n";
  }
  if (month < 1 || month > 12) {
    message += u"El rango de Meses es del: 1 al 12, Ud. capturó: " + Decimal(month) + u"\r\n\r\n";
  }
  message += u"Favor de Verificar y Corregir, Gracias...\r\n\r\n";
  forms_detail::ShowMessage(*this, message, u"ERROR en la Fecha", MsgIcon::kInformation,
                            MsgButtons::kOk);
  return true;
}

}  // namespace velmora
