#include "win32/ole_picture.h"

namespace velmora::win32 {

OlePicture::OlePicture(IPictureDisp* picture) : picture_(picture) {}

OlePicture::~OlePicture() {
  if (picture_ != nullptr) picture_->Release();
}

}  // namespace velmora::win32
