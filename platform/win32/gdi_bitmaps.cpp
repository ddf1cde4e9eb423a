#include "win32/gdi_bitmaps.h"

#include <cstdlib>
#include <cstring>

#include "velmora/error.h"
#include "win32/ole_picture.h"

namespace velmora::win32 {

namespace {

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

}  // namespace velmora::win32
