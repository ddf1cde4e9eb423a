#include "qt/qt_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "velmora/error.h"

namespace velmora::qt {

QImage ImageOf(const ObjectRef& picture) {
  const auto* qt_picture = dynamic_cast<const QtPicture*>(picture.get());
  return qt_picture != nullptr ? qt_picture->image() : QImage();
}

ObjectRef QtPictureLoader::Load(const std::u16string& path) {
  // No format hint: the file's first bytes decide, never its extension.
  QImageReader reader(QString::fromStdU16String(path));
  reader.setDecideFormatFromContent(true);
  QImage image = reader.read();
  if (image.isNull()) throw Error(err::kInvalidPicture);
  return std::make_shared<QtPicture>(std::move(image));
}

std::vector<std::uint8_t> QtBitmapEncoder::BitmapFile(const ObjectRef& picture) {
  const QImage image = ImageOf(picture);
  if (image.isNull()) throw Error(err::kInvalidPicture, u"No hay una imagen capturada que guardar");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(image)) throw Error(err::kInvalidPicture);
  return {bytes.begin(), bytes.end()};
}

}  // namespace velmora::qt
