#include "win32/vfw_camera.h"

// vfw.h needs the Windows headers and the multimedia declarations of mmsystem.h before it.
// clang-format off
#include "win32/win_api.h"
#include <mmsystem.h>
#include <vfw.h>
// clang-format on

#include "win32/gdi_bitmaps.h"
#include "win32/message_pump.h"

namespace velmora::win32 {

namespace {

// The driver messages, numbered from the user message base 1024 as the capture service has them.
constexpr UINT kDriverConnect = WM_USER + 10;     // 1034
constexpr UINT kDriverDisconnect = WM_USER + 11;  // 1035
constexpr UINT kGrabFrame = WM_USER + 60;         // 1084
constexpr UINT kEditCopy = WM_USER + 30;          // 1054
static_assert(kDriverConnect == 1034 && kDriverDisconnect == 1035 && kGrabFrame == 1084 &&
              kEditCopy == 1054);
constexpr UINT kSetFrameCallback = WM_USER + 5;
constexpr UINT kSetUserData = WM_USER + 9;
constexpr UINT kGetUserData = WM_USER + 8;
constexpr UINT kGetVideoFormat = WM_USER + 44;

}  // namespace

// The frame callback of the capture window: it runs inside the grab message, on this thread,
// and keeps a copy of the frame's pixels for Grab.
struct FrameHandOver {
  static LRESULT CALLBACK OnFrame(HWND window, LPVIDEOHDR header) {
    auto* camera = FromInteger<VfwCamera*>(SendMessageA(window, kGetUserData, 0, 0));
    if (camera == nullptr || header == nullptr || header->lpData == nullptr) return TRUE;
    const auto* begin = reinterpret_cast<const std::uint8_t*>(header->lpData);
    camera->frame_.assign(begin, begin + header->dwBytesUsed);
    return TRUE;
  }
};

VfwCamera::~VfwCamera() {
  if (capture_ != nullptr) DestroyWindow(capture_);
}

void VfwCamera::SetOwner(HWND owner) {
  owner_ = owner;
  if (capture_ != nullptr && owner == nullptr) {
    // The form is going: the capture window must not go with it before the driver is released.
    SetWindowLongPtrA(capture_, GWLP_HWNDPARENT, 0);
  }
  MakeCaptureWindow();
}

void VfwCamera::Connect() {
  wanted_ = true;
  MakeCaptureWindow();
}

void VfwCamera::MakeCaptureWindow() {
  if (!wanted_ || owner_ == nullptr || capture_ != nullptr) return;
  // Style 0: neither visible nor a child; the form owns it. A failure is not looked at: without
  // a capture window every later step does nothing.
  capture_ = capCreateCaptureWindowA("WebcamCapture", 0, 0, 0, 160, 120, owner_, 0);
  if (capture_ == nullptr) return;
  SendMessageA(capture_, kSetUserData, 0, reinterpret_cast<LPARAM>(this));
  SendMessageA(capture_, kSetFrameCallback, 0, reinterpret_cast<LPARAM>(&FrameHandOver::OnFrame));
  // The driver is connected once the new window's own pending messages have run.
  MessagePump().ProcessPending();
  SendMessageA(capture_, kDriverConnect, 0, 0);
}

ObjectRef VfwCamera::Grab() {
  if (capture_ == nullptr) return {};
  frame_.clear();
  SendMessageA(capture_, kGrabFrame, 0, 0);
  if (!frame_.empty()) {
    const LRESULT size = SendMessageA(capture_, kGetVideoFormat, 0, 0);
    if (size >= static_cast<LRESULT>(sizeof(BITMAPINFOHEADER))) {
      std::vector<std::uint8_t> format(static_cast<std::size_t>(size) + sizeof(RGBQUAD) * 256);
      SendMessageA(capture_, kGetVideoFormat, static_cast<WPARAM>(size),
                   reinterpret_cast<LPARAM>(format.data()));
      const auto& info = *reinterpret_cast<const BITMAPINFO*>(format.data());
      if (ObjectRef picture = PictureFromDib(info, frame_.data(), frame_.size())) return picture;
    }
  }
  // A frame the callback could not hand over (none, or compressed): through the clipboard.
  SendMessageA(capture_, kEditCopy, 0, 0);
  return FrameFromClipboard();
}

ObjectRef VfwCamera::FrameFromClipboard() {
  if (!OpenClipboard(owner_)) return {};
  ObjectRef picture;
  if (HANDLE data = GetClipboardData(CF_DIB)) {
    const SIZE_T size = GlobalSize(data);
    if (const auto* p = static_cast<const std::uint8_t*>(GlobalLock(data))) {
      if (size >= sizeof(BITMAPINFOHEADER)) {
        const auto& info = *reinterpret_cast<const BITMAPINFO*>(p);
        std::size_t colours = info.bmiHeader.biClrUsed;
        if (colours == 0 && info.bmiHeader.biBitCount <= 8)
          colours = 1u << info.bmiHeader.biBitCount;
        if (info.bmiHeader.biCompression == BI_BITFIELDS) colours = 3;
        const std::size_t offset = info.bmiHeader.biSize + colours * sizeof(RGBQUAD);
        if (offset <= size) picture = PictureFromDib(info, p + offset, size - offset);
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return picture;
}

void VfwCamera::Release() {
  if (capture_ == nullptr) return;
  SendMessageA(capture_, kDriverDisconnect, 0, 0);
  DestroyWindow(capture_);
  capture_ = nullptr;
  wanted_ = false;
}

}  // namespace velmora::win32
