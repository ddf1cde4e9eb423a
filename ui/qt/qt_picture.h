// Pictures of the Qt forms runtime: the picture kind its image boxes take, the loader that
// reads picture files by content and the writer of bitmap files.
#pragma once

#include <QImage>

#include "velmora/photo.h"

namespace velmora::qt {

// A picture held as a QImage. Pictures never change once made: a new frame is a new picture.
class QtPicture final : public Picture {
 public:
  explicit QtPicture(QImage image) : image_(std::move(image)) {}
  const QImage& image() const { return image_; }

 private:
  QImage image_;
};

// The QImage of a picture reference; a null image for an empty reference or another kind.
QImage ImageOf(const ObjectRef& picture);

// Reads whatever picture format the file's content is (a bitmap named ".jpg" loads); 481 for a
// file that is missing or holds no picture Qt can read.
class QtPictureLoader final : public PictureLoader {
 public:
  ObjectRef Load(const std::u16string& path) override;
};

// Writes a picture as a Windows bitmap file; 481 for an empty picture.
class QtBitmapEncoder final : public BitmapEncoder {
 public:
  std::vector<std::uint8_t> BitmapFile(const ObjectRef& picture) override;
};

}  // namespace velmora::qt
