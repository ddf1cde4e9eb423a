#include "qt/qt_services.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <cstdlib>
#include <cstring>
#include <string>

#include "linux/console_dialogs.h"
#include "linux/linux_services.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_photo.h"
#include "qt/sysinfo/system_windows.h"

namespace velmora::qt {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? v : "";
}

// Whether something listens on the local socket; `abstract` for Linux's abstract namespace,
// where X servers listen as well as in /tmp/.X11-unix.
bool Listening(const std::string& path, bool abstract) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::size_t offset = abstract ? 1 : 0;
  if (path.size() + offset >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path + offset, path.data(), path.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const socklen_t len =
      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&addr), len) == 0;
  close(fd);
  return ok;
}

// An X display is reachable: a local one (":0", "unix:0.0") answers on its socket; a remote one
// is taken on trust.
bool XReachable() {
  std::string display = Env("DISPLAY");
  if (display.empty()) return false;
  if (display.rfind("unix:", 0) == 0) display.erase(0, 4);
  if (display.front() != ':') return true;
  const std::string number = display.substr(1, display.find('.') - 1);
  const std::string socket = "/tmp/.X11-unix/X" + number;
  return Listening(socket, false) || Listening(socket, true);
}

bool WaylandReachable() {
  const std::string name = Env("WAYLAND_DISPLAY");
  if (name.empty()) return false;
  if (name.front() == '/') return Listening(name, false);
  const std::string dir = Env("XDG_RUNTIME_DIR");
  return !dir.empty() && Listening(dir + "/" + name, false);
}

bool PluginInstalled(const char* file) {
  const QString dir = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QLatin1String("/platforms/");
  return QFileInfo::exists(dir + QLatin1String(file));
}

// The platform to start Qt on, empty when there is none that would start: Qt ends the process
// when its platform cannot connect, so the display is looked at first.
std::string ChoosePlatform() {
  std::string forced = Env("QT_QPA_PLATFORM");
  if (!forced.empty()) {
    if (forced.rfind("xcb", 0) == 0) return XReachable() ? forced : "";
    if (forced.rfind("wayland", 0) == 0) return WaylandReachable() ? forced : "";
    return forced;  // offscreen, minimal, vnc...: they need no display
  }
  if (XReachable() && PluginInstalled("libqxcb.so")) return "xcb";
  if (WaylandReachable() && PluginInstalled("libqwayland-generic.so")) return "wayland";
  return "";
}

// A message box that decides at each box whether it can be a window.
class AutoMessageBox final : public MessageBox {
 public:
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override {
    if (InteractiveGui() && EnsureGuiApplication()) return window_.Show(text, title, icon, buttons);
    return console_.Show(text, title, icon, buttons);
  }

 private:
  QtMessageBox window_;
  linux_platform::ConsoleMessageBox console_;
};

}  // namespace

const std::string& GuiPlatform() {
  static const std::string platform = ChoosePlatform();
  return platform;
}

bool InteractiveGui() {
  if (QCoreApplication::instance() != nullptr) return qobject_cast<QApplication*>(qApp) != nullptr;
  const std::string& platform = GuiPlatform();
  return platform.rfind("xcb", 0) == 0 || platform.rfind("wayland", 0) == 0;
}

bool EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return qobject_cast<QApplication*>(qApp) != nullptr;
  static std::string platform;
  platform = GuiPlatform();
  // Unattended, nobody looks at the windows, which close themselves: without a display they are
  // made on the offscreen platform rather than refused.
  if (platform.empty() && linux_platform::UnattendedMode() && PluginInstalled("libqoffscreen.so"))
    platform = "offscreen";
  if (platform.empty()) return false;
  // Qt keeps references to argc and argv for the application's life, which is the process's.
  static int argc = 3;
  static char name[] = "velmora";
  static char option[] = "-platform";
  static char* argv[] = {name, option, platform.data(), nullptr};
  static auto* app = new QApplication(argc, argv);
  return app != nullptr;
}

std::shared_ptr<Services> QtServices(const std::string& locale_name) {
  auto services = linux_platform::LinuxServices(locale_name);
  services->message_box = std::make_shared<AutoMessageBox>();
  services->events = std::make_shared<QtEventPump>();
  AddPhotoServices(*services);
  services->system_windows =
      std::make_shared<QtSystemWindows>(services->system, services->locale, &EnsureGuiApplication);
  return services;
}

}  // namespace velmora::qt
