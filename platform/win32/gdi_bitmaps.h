// Bitmaps of the photo family on Windows: OLE pictures holding GDI bitmaps, and the bitmap files
// written from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "velmora/photo.h"
#include "win32/win_api.h"

namespace velmora::win32 {

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
