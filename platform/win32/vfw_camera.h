// The camera of the photo family on Windows: the first capture driver of Video for Windows.
#pragma once

#include <cstdint>
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

}  // namespace velmora::win32
