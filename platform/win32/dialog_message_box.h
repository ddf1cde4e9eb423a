// The message boxes of a Windows process.
#pragma once

#include <string_view>

#include "velmora/host.h"

namespace velmora::win32 {

// Message boxes of the system (MessageBoxW), owned by the active window of the thread.
//
// Unattended runs (UnattendedMode): no box is shown; it is written to the standard error as the
// console boxes of the Linux build write it ("== title (icon) ==", the text,
// "Botones:  1) Aceptar" and "(desatendido, se elige: Aceptar)") and answers the button that
// lets nothing happen (OK, No, Cancel or Abort), so scripted hosts and tests never wait for a
// user.
class DialogMessageBox final : public MessageBox {
 public:
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override;
};

}  // namespace velmora::win32
