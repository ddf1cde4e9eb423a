#include "velmora/error.h"

#include "velmora/utf.h"

namespace velmora {

namespace {

struct Described {
  int number;
  const char16_t* spanish;
  const char16_t* english;
};

constexpr Described kDescriptions[] = {
    {err::kInvalidCall, u"Llamada a procedimiento o argumento no válidos",
     u"Invalid procedure call or argument"},
    {err::kOverflow, u"Desbordamiento", u"Overflow"},
    {err::kSubscript, u"Subíndice fuera del intervalo", u"Subscript out of range"},
    {err::kTypeMismatch, u"No coinciden los tipos", u"Type mismatch"},
    {err::kInvalidNull, u"Uso no válido de Null", u"Invalid use of Null"},
    {err::kObjectRequired, u"Se requiere un objeto", u"Object required"},
    {err::kNoMember, u"El objeto no admite esta propiedad o método",
     u"Object doesn't support this property or method"},
    {err::kNamedArgNotFound, u"No se encontró el argumento con nombre",
     u"Named argument not found"},
    {err::kArgNotOptional, u"El argumento no es opcional", u"Argument not optional"},
    {err::kWrongArgCount, u"Número de argumentos incorrecto o asignación de propiedad no válida",
     u"Wrong number of arguments or invalid property assignment"},
    {err::kInvalidPicture, u"La imagen no es válida", u"Invalid picture"},
};

}  // namespace

std::u16string StandardDescription(int number, bool spanish) {
  for (const auto& d : kDescriptions) {
    if (d.number == number) return spanish ? d.spanish : d.english;
  }
  return (spanish ? u"Error definido por la aplicación o el objeto"
                  : u"Application-defined or object-defined error");
}

std::u16string Error::description(bool spanish) const {
  return custom_.empty() ? StandardDescription(number_, spanish) : custom_;
}

const char* Error::what() const noexcept {
  if (what_.empty()) {
    try {
      what_ = "Error " + std::to_string(number_) + ": " + ToUtf8(description(false));
    } catch (...) {
      return "velmora runtime error";
    }
  }
  return what_.c_str();
}

}  // namespace velmora
