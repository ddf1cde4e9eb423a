#include "win32/win32_photo.h"

// vfw.h needs the Windows headers and the multimedia declarations of mmsystem.h before it.
// clang-format off
#include "win32/win_api.h"
#include <mmsystem.h>
#include <vfw.h>
#include <commdlg.h>
// clang-format on

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "velmora/error.h"
#include "win32/ole_values.h"
#include "win32/win32_services.h"

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

// Bytes of one row of a bitmap, padded to 32 bits.
std::size_t Stride(LONG width, WORD bits) {
  return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
}

// Owns a device context of the screen for one use.
struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ScreenDc() = default;
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc != nullptr) ReleaseDC(nullptr, dc);
  }
};

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

ObjectRef PictureFromDib(const BITMAPINFO& info, const void* pixels, std::size_t size) {
  const BITMAPINFOHEADER& h = info.bmiHeader;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1) return {};
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return {};
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 16 &&
      h.biBitCount != 24 && h.biBitCount != 32)
    return {};
  const std::size_t rows = static_cast<std::size_t>(std::abs(h.biHeight));
  const std::size_t bytes = Stride(h.biWidth, h.biBitCount) * rows;
  if (size < bytes) return {};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return {};
  std::memcpy(bits, pixels, bytes);
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  IPictureDisp* picture = nullptr;
  if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE,
                                      reinterpret_cast<void**>(&picture))) ||
      picture == nullptr) {
    DeleteObject(bitmap);
    return {};
  }
  return std::make_shared<OlePicture>(picture);
}

HBITMAP BitmapOf(const ObjectRef& picture) {
  const auto* backed = dynamic_cast<const DispatchBacked*>(picture.get());
  if (backed == nullptr || backed->dispatch() == nullptr) return nullptr;
  IPicture* p = nullptr;
  if (FAILED(backed->dispatch()->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&p))) ||
      p == nullptr)
    return nullptr;
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  HBITMAP bitmap = nullptr;
  if (SUCCEEDED(p->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(p->get_Handle(&handle)))
    bitmap = FromInteger<HBITMAP>(static_cast<LONG_PTR>(handle));
  p->Release();
  return bitmap;
}

std::vector<std::uint8_t> GdiBitmapEncoder::BitmapFile(const ObjectRef& picture) {
  HBITMAP bitmap = BitmapOf(picture);
  BITMAP b{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof b, &b) == 0 || b.bmWidth <= 0 ||
      b.bmHeight <= 0)
    throw Error(err::kInvalidPicture);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = b.bmWidth;
  info.bmiHeader.biHeight = b.bmHeight;  // bottom-up rows, as bitmap files usually are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const std::size_t pixels = Stride(b.bmWidth, 24) * static_cast<std::size_t>(b.bmHeight);
  constexpr std::size_t kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  static_assert(kHeaders == 54);
  std::vector<std::uint8_t> file(kHeaders + pixels);
  {
    ScreenDc screen;
    if (GetDIBits(screen.dc, bitmap, 0, static_cast<UINT>(b.bmHeight), file.data() + kHeaders,
                  &info, DIB_RGB_COLORS) == 0)
      throw Error(err::kInvalidPicture);
  }
  info.bmiHeader.biSizeImage = static_cast<DWORD>(pixels);
  BITMAPFILEHEADER head{};
  head.bfType = 0x4D42;  // "BM"
  head.bfSize = static_cast<DWORD>(file.size());
  head.bfOffBits = static_cast<DWORD>(kHeaders);
  std::memcpy(file.data(), &head, sizeof head);
  std::memcpy(file.data() + sizeof head, &info.bmiHeader, sizeof(BITMAPINFOHEADER));
  return file;
}

std::u16string SystemFilter(std::u16string_view filter) {
  std::u16string out(filter);
  std::replace(out.begin(), out.end(), u'|', u'\0');
  out.push_back(u'\0');
  out.push_back(u'\0');
  return out;
}

std::u16string Win32FileDialog::OpenFile(std::u16string_view title, std::u16string_view filter,
                                         std::u16string_view initial_name) {
  if (UnattendedMode()) {
    WriteStandardError(u"== " + std::u16string(title) + u" (diálogo) ==\nFiltro: " +
                       std::u16string(filter) + u"\n(desatendido, se elige: Cancelar)");
    return {};
  }
  const std::u16string title_text(title);
  const std::u16string filter_text = SystemFilter(filter);
  std::vector<wchar_t> name(32768, L'\0');
  std::copy_n(initial_name.begin(), std::min(initial_name.size(), name.size() - 1), name.begin());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = reinterpret_cast<const wchar_t*>(filter_text.c_str());
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrTitle = reinterpret_cast<const wchar_t*>(title_text.c_str());
  // The current directory is the current drive of the photo folder: the dialog leaves it alone.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (GetOpenFileNameW(&ofn)) {
    return {reinterpret_cast<const char16_t*>(name.data()), std::wcslen(name.data())};
  }
  if (CommDlgExtendedError() == 0) return {};  // cancelled
  throw Error(err::kInvalidCall, u"No fue posible mostrar el diálogo para elegir archivos");
}

}  // namespace velmora::win32
