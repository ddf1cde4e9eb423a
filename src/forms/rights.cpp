// Access rights: one digit per right, right 1 being the last character of the string.
#include "forms/walk.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora {

namespace forms_detail {

MsgResult ShowMessage(const Dolva& self, std::u16string_view text, std::u16string_view title,
                      MsgIcon icon, MsgButtons buttons) {
  if (!self.services().message_box) {
    throw Error(err::kInvalidCall, self.locale().spanish
                                       ? u"No hay dónde mostrar el mensaje al usuario"
                                       : u"There is no way to show the message to the user");
  }
  return self.services().message_box->Show(text, title, icon, buttons);
}

}  // namespace forms_detail

bool Dolva::Derecho(std::uint8_t nPosicion, const std::u16string& sDerechos, bool& Mensaje,
                    std::u16string& Modulo) {
  // The length is kept in a Byte: a longer rights string cannot be measured.
  if (sDerechos.size() > 255) throw Error(err::kOverflow);
  const std::size_t length = sDerechos.size();  // [0, 255]
  bool granted = false;
  if (nPosicion != 0 && nPosicion <= length) {
    const char16_t digit = sDerechos[length - nPosicion];
    if (digit < u'0' || digit > u'9') throw Error(err::kTypeMismatch);
    granted = digit == u'1';
  }
  if (!granted && Mensaje) {
    const std::u16string_view module =
        Modulo.empty() ? std::u16string_view(u" este Módulo ") : std::u16string_view(Modulo);
    std::u16string text = u"Atención Usuario:\r\n\r\nUsted NO tiene Derecho para Accesar:\r\n";
    text += module;
    text += u"\r\nFavor de Verificar, Gracias ...\r\n";
    forms_detail::ShowMessage(*this, text, u"USUARIO SIN DERECHO DE ACCESO", MsgIcon::kCritical,
                              MsgButtons::kOk);
  }
  return granted;
}

}  // namespace velmora
