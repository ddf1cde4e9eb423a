// The photo family's services for a Qt process: pictures, the disk, the camera, the open-file
// dialog and the capture window.
#pragma once

#include <QStringList>

#include "qt/qt_camera.h"
#include "velmora/photo.h"
#include "velmora/services.h"

namespace velmora::qt {

// The open-file dialog as a Qt dialog over the active window, named "CommonDialog1". The
// runtime's filter becomes Qt name filters whose patterns ignore case, as the directory
// searches of the photo family do; the dialog shows the filters' descriptions only (Qt trims
// the blank that ends "Fotografías ", which no user could see anyway). A name
// typed that does not exist is accepted and handed back, as the runtime's dialog does.
class QtFileDialog final : public FileDialog {
 public:
  std::u16string OpenFile(std::u16string_view title, std::u16string_view filter,
                          std::u16string_view initial_name) override;
};

// The runtime's filter u"Fotografías |*.Jpg;*.Bmp" as Qt name filters:
// {"Fotografías  (*.[Jj][Pp][Gg] *.[Bb][Mm][Pp])"}.
QStringList NameFilters(std::u16string_view filter);

// Shows FrmTomaFoto modally over the active window, starting the Qt application when a person
// could answer it (InteractiveGui); 5 when nobody could. Unattended (linux_platform::
// UnattendedMode) it is shown wherever it can be made (offscreen without a display), closes
// itself by its close box once loaded and says so on the standard error.
class QtCaptureWindowHost final : public CaptureWindowHost {
 public:
  void ShowModal(CaptureWindow& window) override;
};

// Fills in the photo services of a Qt process on Linux: the picture loader and bitmap writer,
// the disk, the camera (the first one, or the moving test pattern), the file dialog and the
// capture window.
void AddPhotoServices(Services& services, QtCamera::Source camera = QtCamera::Source::kFirstDevice);

}  // namespace velmora::qt
