// The photo family's windows on Qt: the open-file dialog and the host of the capture window.
#pragma once

#include <QStringList>
#include <memory>

#include "qt/qt_application.h"
#include "velmora/photo.h"
#include "velmora/services.h"

namespace velmora::qt {

// The open-file dialog as a Qt dialog over the active window, named "CommonDialog1", shown where
// a person could answer it (GuiSession::Interactive); NoFileDialogError otherwise. The
// runtime's filter becomes Qt name filters whose patterns ignore case, as the directory
// searches of the photo family do; the dialog shows the filters' descriptions only (Qt trims
// the blank that ends "Fotografías ", which no user could see anyway). A name
// typed that does not exist is accepted and handed back, as the runtime's dialog does.
class QtFileDialog final : public FileDialog {
 public:
  explicit QtFileDialog(std::shared_ptr<const GuiSession> gui) : gui_(std::move(gui)) {}
  std::u16string OpenFile(std::u16string_view title, std::u16string_view filter,
                          std::u16string_view initial_name) override;

 private:
  std::shared_ptr<const GuiSession> gui_;
};

// The runtime's filter u"Fotografías |*.Jpg;*.Bmp" as Qt name filters:
// {"Fotografías  (*.[Jj][Pp][Gg] *.[Bb][Mm][Pp])"}.
QStringList NameFilters(std::u16string_view filter);

// Shows FrmTomaFoto modally over the active window, starting the Qt application when a person
// could answer it (GuiSession::Interactive); NoCaptureWindowError when nobody could.
// Unattended it is shown wherever it can be made (offscreen without a display), closes itself
// by its close box once loaded and says so on the standard error.
class QtCaptureWindowHost final : public CaptureWindowHost {
 public:
  explicit QtCaptureWindowHost(std::shared_ptr<const GuiSession> gui) : gui_(std::move(gui)) {}
  void ShowModal(CaptureWindow& window) override;

 private:
  std::shared_ptr<const GuiSession> gui_;
};

}  // namespace velmora::qt
