#include "qt/sysinfo/system_windows.h"

#include <QApplication>
#include <QEventLoop>

#include "linux/console_dialogs.h"
#include "velmora/error.h"

namespace velmora::qt {

QtSystemWindows::QtSystemWindows(std::shared_ptr<SystemQueries> sys, LocaleData loc,
                                 std::function<bool()> ensure_gui)
    : sys_(std::move(sys)), loc_(std::move(loc)), ensure_gui_(std::move(ensure_gui)) {}

QtSystemWindows::~QtSystemWindows() {
  // The windows draw on this service's queries: none may outlive it.
  delete pc_info_.data();
  delete splash_.data();
}

template <typename W>
void QtSystemWindows::Show(QPointer<W>& slot, bool modal) {
  if (ensure_gui_ && !ensure_gui_()) throw NoDisplayError();
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) throw NoDisplayError();
  if (Open(slot) == nullptr) {
    slot = new W(*sys_, loc_);
    if (modal) slot->setWindowModality(Qt::ApplicationModal);
    slot->show();
    try {
      slot->Load();
    } catch (...) {
      delete slot.data();  // a window whose loading failed is not loaded
      throw;
    }
  } else {
    slot->show();
    slot->raise();
  }
  const bool unattended = linux_platform::UnattendedMode();
  W* window = Open(slot);
  if (unattended && window != nullptr) {
    // Nobody is there to close it, modal or not: once loaded the window presses its own
    // closing button, and the call returns once it has closed.
    linux_platform::ReportUnattendedClose(W::Model::kName, W::Model::kExit);
    QMetaObject::invokeMethod(
        window, [window] { window->PressClose(); }, Qt::QueuedConnection);
  }
  if (modal || unattended) WaitUntilUnloaded(window);
}

void QtSystemWindows::ShowPcInfo(bool modal) { Show(pc_info_, modal); }
void QtSystemWindows::ShowSplash(bool modal) { Show(splash_, modal); }

bool QtSystemWindows::AnyOpen() const { return pc_info() != nullptr || splash() != nullptr; }

void QtSystemWindows::WaitWhileOpen() {
  while (SysInfoWindow* w = pc_info() ? static_cast<SysInfoWindow*>(pc_info()) : splash())
    WaitUntilUnloaded(w);
}

void WaitUntilUnloaded(SysInfoWindow* window) {
  if (window == nullptr || window->unloaded()) return;
  QEventLoop loop;
  QObject::connect(window, &SysInfoWindow::Unloaded, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace velmora::qt
