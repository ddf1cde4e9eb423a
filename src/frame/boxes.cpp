// What every message-box backend shares: the buttons of each kind of box, the one taken when
// nobody answers, the labels, and the box described as text for runs without a person; and the
// report of a window that closes itself when nobody is there.
#include <string>

#include "velmora/host.h"

namespace velmora {

std::vector<MsgResult> ButtonsOf(MsgButtons buttons) {
  using R = MsgResult;
  switch (buttons) {
    case MsgButtons::kOk: return {R::kOk};
    case MsgButtons::kOkCancel: return {R::kOk, R::kCancel};
    case MsgButtons::kAbortRetryIgnore: return {R::kAbort, R::kRetry, R::kIgnore};
    case MsgButtons::kYesNoCancel: return {R::kYes, R::kNo, R::kCancel};
    case MsgButtons::kYesNo: return {R::kYes, R::kNo};
    case MsgButtons::kRetryCancel: return {R::kRetry, R::kCancel};
  }
  return {R::kOk};
}

MsgResult DefaultButton(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::kOk: return MsgResult::kOk;
    case MsgButtons::kYesNo: return MsgResult::kNo;
    case MsgButtons::kOkCancel:
    case MsgButtons::kYesNoCancel:
    case MsgButtons::kRetryCancel: return MsgResult::kCancel;
    case MsgButtons::kAbortRetryIgnore: return MsgResult::kAbort;
  }
  return MsgResult::kOk;
}

std::u16string_view ButtonLabel(MsgResult button) {
  switch (button) {
    case MsgResult::kOk: return u"Aceptar";
    case MsgResult::kCancel: return u"Cancelar";
    case MsgResult::kAbort: return u"Anular";
    case MsgResult::kRetry: return u"Reintentar";
    case MsgResult::kIgnore: return u"Omitir";
    case MsgResult::kYes: return u"Sí";
    case MsgResult::kNo: return u"No";
  }
  return u"";
}

namespace {

std::u16string_view IconLabel(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::kNone: return u"";
    case MsgIcon::kCritical: return u" (alto)";
    case MsgIcon::kQuestion: return u" (pregunta)";
    case MsgIcon::kExclamation: return u" (advertencia)";
    case MsgIcon::kInformation: return u" (información)";
  }
  return u"";
}

}  // namespace

std::u16string DescribeBox(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                           MsgButtons buttons) {
  std::u16string out = u"== " + std::u16string(title) + std::u16string(IconLabel(icon)) + u" ==\n";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    out += text[i] == u'\r' ? u'\n' : text[i];
  }
  if (out.back() != u'\n') out += u'\n';
  out += u"Botones:";
  int n = 0;
  for (MsgResult b : ButtonsOf(buttons)) {
    out += u"  ";
    out += static_cast<char16_t>(u'0' + ++n);  // at most three buttons
    out += u") ";
    out += ButtonLabel(b);
  }
  return out + u"\n";
}

std::u16string DescribeUnattendedClose(std::u16string_view window, std::u16string_view control) {
  std::u16string out = u"== ";
  out.append(window).append(u" (ventana) ==\n(desatendido, se cierra con: ").append(control);
  return out + u")";
}

}  // namespace velmora
