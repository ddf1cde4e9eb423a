// The family's two windows on Qt: one instance of each, loaded on first use, shown modally
// (a local event loop until the window unloads) or not.
#pragma once

#include <QPointer>
#include <memory>

#include "qt/qt_application.h"
#include "qt/sysinfo/pcinfo_window.h"
#include "qt/sysinfo/splash_window.h"
#include "velmora/sysinfo.h"

namespace velmora::qt {

// Unattended (GuiSession::Unattended) no window waits for a person, modal or not: once loaded
// it presses its own closing button ("&Finalizar", "&Salir"), says so on the standard error
// (DescribeUnattendedClose) and the call returns once it has closed.
class QtSystemWindows final : public SystemWindows {
 public:
  // The windows draw their figures from `sys` and format them with `loc`. `gui` is asked to
  // start the QApplication before a window is shown; without it a window is shown only in a
  // process that made one itself. Where none can be made every Show raises the no-display
  // error (5).
  QtSystemWindows(std::shared_ptr<SystemQueries> sys, LocaleData loc,
                  std::shared_ptr<const GuiSession> gui = {});
  ~QtSystemWindows() override;

  void ShowPcInfo(bool modal) override;
  void ShowSplash(bool modal) override;
  bool AnyOpen() const override;
  void WaitWhileOpen() override;

  // The loaded windows, null when not loaded (for tests and hosts that look at them).
  PcInfoWindow* pc_info() const { return Open(pc_info_); }
  SplashWindow* splash() const { return Open(splash_); }

 private:
  template <typename W>
  static W* Open(const QPointer<W>& w) {
    return w && !w->unloaded() ? w.data() : nullptr;
  }
  template <typename W>
  void Show(QPointer<W>& slot, bool modal);

  std::shared_ptr<SystemQueries> sys_;
  LocaleData loc_;
  std::shared_ptr<const GuiSession> gui_;
  QPointer<PcInfoWindow> pc_info_;
  QPointer<SplashWindow> splash_;
};

// Runs window events until the window unloads; at once when it is already gone.
void WaitUntilUnloaded(SysInfoWindow* window);

}  // namespace velmora::qt
