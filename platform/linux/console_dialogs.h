// Message boxes without a window system: on the terminal, or answered unattended.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "velmora/host.h"

namespace velmora::linux_platform {

// The one environment variable of the library's own: when it is set to anything but "" or "0",
// every message box (console or window) is answered with its default button without waiting, and
// its title and text are written to standard error; every window of the library (System's two,
// PhotoWay's) opens, loads and closes itself by its own closing control, and says so there too.
// For tests and batch runs:
//   VELMORA_UNATTENDED=1 velmora Derecho 3 0011 Mensaje:=True Modulo:=Ventas
//   VELMORA_UNATTENDED=1 velmora System True False
inline constexpr const char* kUnattendedVariable = "VELMORA_UNATTENDED";

// Whether the unattended switch is on now; read at each use. The message boxes ask, and the
// windows hear it from the host that assembles the services (velmora/gui_plugin.h).
bool UnattendedMode();

// A message box on the console: writes the box to `out` (standard error), then asks for the
// button on the terminal (the controlling terminal, "/dev/tty", unless another is named). With no
// terminal to ask, or when unattended, it takes the default button and says so.
class ConsoleMessageBox final : public MessageBox {
 public:
  explicit ConsoleMessageBox(std::ostream& out, std::string terminal = "/dev/tty");
  ConsoleMessageBox();  // standard error and the controlling terminal

  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override;

 private:
  std::ostream& out_;
  std::string terminal_;
};

// With no window system there are no pending window events to run.
class ConsoleEventPump final : public EventPump {
 public:
  void ProcessPending() override {}
};

}  // namespace velmora::linux_platform
