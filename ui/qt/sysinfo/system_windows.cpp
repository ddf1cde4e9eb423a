#include "qt/sysinfo/system_windows.h"

#include <QApplication>
#include <QEventLoop>

#include "velmora/error.h"

namespace velmora::qt {

QtSystemWindows::QtSystemWindows(std::shared_ptr<SystemQueries> sys, LocaleData loc,
                                 std::shared_ptr<const GuiSession> gui)
    : sys_(std::move(sys)), loc_(std::move(loc)), gui_(std::move(gui)) {}

QtSystemWindows::~QtSystemWindows() {
  // The windows draw on this service's queries: none may outlive it.
  delete pc_info_.data();
  delete splash_.data();
}

template <typename W>
void QtSystemWindows::Show(QPointer<W>& slot, bool modal) {
  if (gui_ && !gui_->Ensure()) throw NoDisplayError();
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
  const bool unattended = gui_ && gui_->Unattended();
  W* window = Open(slot);
  if (unattended && window != nullptr) {
    // Nobody is there to close it, modal or not: once loaded the window presses its own
    // closing button, and the call returns once it has closed.
    ReportUnattendedClose(W::Model::kName, W::Model::kExit);
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
