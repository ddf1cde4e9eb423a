#include "hosts/win32/services.h"

#include "win32/dialog_message_box.h"
#include "win32/file_dialog.h"
#include "win32/frm_toma_foto.h"
#include "win32/gdi_bitmaps.h"
#include "win32/local_clock.h"
#include "win32/message_pump.h"
#include "win32/nls_locale.h"
#include "win32/ole_picture_loader.h"
#include "win32/photo_files.h"
#include "win32/sysinfo_windows.h"
#include "win32/system_queries.h"
#include "win32/vfw_camera.h"

namespace velmora::win32 {

std::shared_ptr<Services> Win32Services() {
  auto s = std::make_shared<Services>();
  s->clock = std::make_shared<LocalClock>();
  s->locale = NlsLocaleData();
  s->message_box = std::make_shared<DialogMessageBox>();
  s->events = std::make_shared<MessagePump>();
  s->pictures = std::make_shared<OlePictureLoader>();
  s->photo_files = std::make_shared<WindowsPhotoFiles>();
  s->bitmaps = std::make_shared<GdiBitmapEncoder>();
  s->camera = std::make_shared<VfwCamera>();
  s->file_dialog = std::make_shared<Win32FileDialog>();
  s->system = std::make_shared<WindowsSystemQueries>();
  // The library's own windows, over the system queries and locale above.
  s->system_windows = std::make_shared<win32ui::Win32SystemWindows>(s->system, s->locale);
  s->capture_window = std::make_shared<win32ui::Win32CaptureWindowHost>();
  return s;
}

}  // namespace velmora::win32
