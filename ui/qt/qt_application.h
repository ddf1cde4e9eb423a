// The Qt application behind the library's windows, and what the host told about the display.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora::qt {

// What the windows of one bundle of services know of the process they show in: the platform
// the host found a display for, whether a person sits at it, and the host's unattended switch.
// The QApplication itself is started on first need and kept for the life of the process.
class GuiSession {
 public:
  // `platform` and `interactive` as the host found them (velmora/gui_plugin.h); `unattended`
  // is asked at each use, and an empty one never is.
  GuiSession(std::string platform, bool interactive, std::function<bool()> unattended);
  // A process that made its own QApplication needs to say nothing more.
  GuiSession() : GuiSession({}, false, {}) {}

  // Whether nobody is there to answer: every box then takes its default button and every
  // window closes itself once loaded.
  bool Unattended() const;

  // Whether a person could answer a window of this process: a QApplication exists, or none
  // exists yet and the host's display has a person at it (an X or Wayland one whose Qt
  // platform is installed). An offscreen platform the process would have to start itself does
  // not count; nor does a QCoreApplication.
  bool Interactive() const;

  // Makes sure a QApplication exists, starting one on the host's platform when none does, and
  // says whether one does now. Unattended without a display the offscreen platform stands in,
  // since the windows close themselves. False, and nothing aborts, when no platform could start
  // or the process made a QCoreApplication of its own, where no widget can be shown.
  bool Ensure() const;

 private:
  // The host's platform when Qt has it installed; empty otherwise.
  std::string Usable() const;

  std::string platform_;
  bool interactive_;
  std::function<bool()> unattended_;
};

// Writes to standard error that an unattended run closes a window by its own control
// (DescribeUnattendedClose): "== frmSplashSys (ventana) ==", "(desatendido, se cierra con:
// &Salir)".
void ReportUnattendedClose(std::u16string_view window, std::u16string_view control);

}  // namespace velmora::qt
