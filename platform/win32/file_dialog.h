// The open-file dialog of the photo family on Windows.
#pragma once

#include <string>
#include <string_view>

#include "velmora/photo.h"

namespace velmora::win32 {

// The open-file dialog of the system (GetOpenFileNameW), over the thread's active window.
// The runtime's filter u"Fotografías |*.Jpg;*.Bmp" becomes the system's pairs of description
// and patterns; a typed name that does not exist is handed back as it is. Unattended (see
// DialogMessageBox) no dialog is shown: it is reported on the standard error and answered as
// cancelled.
class Win32FileDialog final : public FileDialog {
 public:
  std::u16string OpenFile(std::u16string_view title, std::u16string_view filter,
                          std::u16string_view initial_name) override;
};

}  // namespace velmora::win32
