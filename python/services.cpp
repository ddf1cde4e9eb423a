#include "services.h"

#include <sys/syscall.h>
#include <unistd.h>

#include "linux/console_dialogs.h"
#include "linux/linux_services.h"
#ifdef VELMORA_WITH_QT
#include "qt/qt_services.h"
#endif

namespace velmora::python {

namespace {

#ifdef VELMORA_WITH_QT
// Python threads may call the library, but a window may only be opened on the process's main
// thread, where the application object lives: a box asked for on another thread is answered on
// the terminal (or unattended) instead.
class MainThreadBoxes final : public MessageBox {
 public:
  explicit MainThreadBoxes(std::shared_ptr<MessageBox> windows) : windows_(std::move(windows)) {}

  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override {
    if (OnMainThread()) return windows_->Show(text, title, icon, buttons);
    return console_.Show(text, title, icon, buttons);
  }

 private:
  static bool OnMainThread() { return syscall(SYS_gettid) == getpid(); }

  std::shared_ptr<MessageBox> windows_;
  linux_platform::ConsoleMessageBox console_;
};
#endif

}  // namespace

std::shared_ptr<Services> ModuleServices(const std::string& locale_name, std::optional<Date> now) {
#ifdef VELMORA_WITH_QT
  // Boxes open as windows when there is a display, on the terminal otherwise.
  auto services = qt::QtServices(locale_name);
  services->message_box = std::make_shared<MainThreadBoxes>(services->message_box);
#else
  auto services = linux_platform::LinuxServices(locale_name);
  services->message_box = std::make_shared<linux_platform::ConsoleMessageBox>();
  services->events = std::make_shared<linux_platform::ConsoleEventPump>();
#endif
  if (now) services->clock = std::make_shared<FixedClock>(*now);
  return services;
}

}  // namespace velmora::python
