// The photo family's Windows services: the first camera through Video for Windows, the
// open-file dialog and the writer of bitmap files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "velmora/photo.h"
#include "win32/win_api.h"

namespace velmora::win32 {

// The first capture driver of Video for Windows, behind a hidden capture window named
// "WebcamCapture" (style 0, 160 x 120 pixels, owned by the capture form, identifier 0) that
// answers the driver messages: connect (1034), disconnect (1035), grab a frame (1084) and copy
// it (1054).
//
// A grabbed frame is handed over by the driver's frame callback when it is plain RGB, so the
// live image does not overwrite the clipboard on every tick; only a frame in another format
// (a compressed one) takes the road through the clipboard. Every failure is silent: without a
// driver, a camera or a capture window, Grab gives the empty picture.
class VfwCamera final : public Camera {
 public:
  VfwCamera() = default;
  VfwCamera(const VfwCamera&) = delete;
  VfwCamera& operator=(const VfwCamera&) = delete;
  ~VfwCamera() override;

  // The capture form's window, the owner of the capture window. The window is made, and the
  // driver connected, once both the connection was asked for and the owner exists. Null when
  // the form goes: the capture window then lives on without an owner until Release.
  void SetOwner(HWND owner);
  void Connect() override;
  ObjectRef Grab() override;
  void Release() override;

  // The capture window, null when none could be made.
  HWND capture_window() const { return capture_; }

 private:
  void MakeCaptureWindow();
  ObjectRef FrameFromClipboard();
  friend struct FrameHandOver;

  HWND owner_ = nullptr;
  HWND capture_ = nullptr;
  bool wanted_ = false;
  std::vector<std::uint8_t> frame_;  // the pixels the last frame callback handed over
};

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

// The runtime's filter in the system's form: descriptions and pattern lists separated by NUL
// characters, ending in two: SystemFilter(u"Fotos |*.Jpg;*.Bmp") == u"Fotos \0*.Jpg;*.Bmp\0\0".
std::u16string SystemFilter(std::u16string_view filter);

// Writes a picture of the platform (an OLE picture holding a bitmap) as a Windows bitmap file,
// 24 bits per pixel; 481 for an empty picture or one that holds no bitmap.
class GdiBitmapEncoder final : public BitmapEncoder {
 public:
  std::vector<std::uint8_t> BitmapFile(const ObjectRef& picture) override;
};

// The bitmap of a picture reference of this platform, null for an empty reference, another kind
// or a picture that is no bitmap. The picture keeps ownership.
HBITMAP BitmapOf(const ObjectRef& picture);

// An OLE picture that owns a copy of device-independent pixels: `info` is a BITMAPINFO (its
// header and any colour table), `pixels` its rows; empty for a format it cannot take
// (compressed frames) or pixels that do not fill `size` bytes.
ObjectRef PictureFromDib(const BITMAPINFO& info, const void* pixels, std::size_t size);

}  // namespace velmora::win32
