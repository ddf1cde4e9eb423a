// The message box and the event pump of the Qt forms runtime.
#pragma once

#include "velmora/host.h"

namespace velmora::qt {

// A modal QMessageBox over the active window: the title, the text, the icon and the buttons,
// answering the button pressed (closing the box answers the button that lets nothing happen).
// With the unattended switch on (linux_platform::kUnattendedVariable) no box opens: the box is
// written to standard error and takes its default button, as on the console. Without a
// QApplication the box is asked on the console instead.
class QtMessageBox final : public MessageBox {
 public:
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override;
};

// Lets the application's pending events (paints, resizes, the host's handlers) run.
class QtEventPump final : public EventPump {
 public:
  void ProcessPending() override;
};

}  // namespace velmora::qt
