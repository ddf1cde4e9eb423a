// The message box and the event pump of the Qt forms runtime.
#pragma once

#include <memory>

#include "qt/qt_application.h"
#include "velmora/host.h"

namespace velmora::qt {

// A modal QMessageBox over the active window: the title, the text, the icon and the buttons,
// answering the button pressed (closing the box answers the button that lets nothing happen).
// Only where a person could answer it (GuiSession::Interactive) and never unattended: the box is
// then asked of `fallback` (the terminal's), or takes its default button when there is none.
class QtMessageBox final : public MessageBox {
 public:
  QtMessageBox(std::shared_ptr<const GuiSession> gui, std::shared_ptr<MessageBox> fallback);

  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override;

 private:
  std::shared_ptr<const GuiSession> gui_;
  std::shared_ptr<MessageBox> fallback_;
};

// Lets the application's pending events (paints, resizes, the host's handlers) run.
class QtEventPump final : public EventPump {
 public:
  void ProcessPending() override;
};

}  // namespace velmora::qt
