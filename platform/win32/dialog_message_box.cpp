#include "win32/dialog_message_box.h"

#include <string>

#include "velmora/error.h"
#include "win32/unattended.h"
#include "win32/wide.h"
#include "win32/win_api.h"

namespace velmora::win32 {

namespace {

// Unattended boxes are reported exactly as the console boxes of the Linux build report them, so
// that a batch run reads the same on both systems.

// "== title (icon) ==", the text with its line breaks, the buttons, and the choice made.
std::u16string DescribeUnattended(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                                  MsgButtons buttons, MsgResult chosen) {
  return DescribeBox(text, title, icon, buttons) + u"(desatendido, se elige: " +
         std::u16string(ButtonLabel(chosen)) + u")";
}

UINT IconFlag(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::kNone: return 0;
    case MsgIcon::kCritical: return MB_ICONHAND;
    case MsgIcon::kQuestion: return MB_ICONQUESTION;
    case MsgIcon::kExclamation: return MB_ICONEXCLAMATION;
    case MsgIcon::kInformation: return MB_ICONASTERISK;
  }
  return 0;
}

}  // namespace

MsgResult DialogMessageBox::Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                                 MsgButtons buttons) {
  if (UnattendedMode()) {
    const MsgResult chosen = DefaultButton(buttons);
    WriteStandardError(DescribeUnattended(text, title, icon, buttons, chosen));
    return chosen;
  }
  const std::u16string t(text);
  const std::u16string c(title);
  const UINT flags = static_cast<UINT>(buttons) | IconFlag(icon) | MB_TASKMODAL | MB_SETFOREGROUND;
  const int answer = MessageBoxW(GetActiveWindow(), Wide(t), Wide(c), flags);
  if (answer == 0) {
    throw Error(err::kInvalidCall, u"No hay pantalla disponible para mostrar el mensaje");
  }
  return static_cast<MsgResult>(answer);
}

}  // namespace velmora::win32
