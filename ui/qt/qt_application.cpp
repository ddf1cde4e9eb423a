#include "qt/qt_application.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <iostream>

#include "velmora/host.h"
#include "velmora/utf.h"

namespace velmora::qt {

namespace {

bool PluginInstalled(const char* file) {
  const QString dir = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QLatin1String("/platforms/");
  return QFileInfo::exists(dir + QLatin1String(file));
}

}  // namespace

GuiSession::GuiSession(std::string platform, bool interactive, std::function<bool()> unattended)
    : platform_(std::move(platform)),
      interactive_(interactive),
      unattended_(std::move(unattended)) {}

bool GuiSession::Unattended() const { return unattended_ && unattended_(); }

std::string GuiSession::Usable() const {
  // Qt ends the process when its platform cannot start: the ones the host picked by itself are
  // looked for first (one named in QT_QPA_PLATFORM is the user's to get right).
  if (platform_ == "xcb" && !PluginInstalled("libqxcb.so")) return {};
  if (platform_ == "wayland" && !PluginInstalled("libqwayland-generic.so")) return {};
  return platform_;
}

bool GuiSession::Interactive() const {
  if (QCoreApplication::instance() != nullptr) return qobject_cast<QApplication*>(qApp) != nullptr;
  return interactive_ && !Usable().empty();
}

bool GuiSession::Ensure() const {
  if (QCoreApplication::instance() != nullptr) return qobject_cast<QApplication*>(qApp) != nullptr;
  static std::string platform;
  platform = Usable();
  // Unattended, nobody looks at the windows, which close themselves: without a display they are
  // made on the offscreen platform rather than refused.
  if (platform.empty() && Unattended() && PluginInstalled("libqoffscreen.so"))
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

void ReportUnattendedClose(std::u16string_view window, std::u16string_view control) {
  std::cerr << ToUtf8(DescribeUnattendedClose(window, control)) << '\n';
}

}  // namespace velmora::qt
