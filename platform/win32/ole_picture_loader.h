// Pictures loaded from files on Windows.
#pragma once

#include <string>

#include "velmora/host.h"

namespace velmora::win32 {

// Pictures read by their content (OleLoadPicture over the file's bytes), whatever the name:
// an OlePicture; 481 for a file that cannot be read or holds no picture.
class OlePictureLoader final : public PictureLoader {
 public:
  ObjectRef Load(const std::u16string& path) override;
};

}  // namespace velmora::win32
