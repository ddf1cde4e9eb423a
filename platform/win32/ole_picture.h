// A picture of the platform as the library hands it to a host.
#pragma once

#include "velmora/host.h"
#include "win32/ole_values.h"
#include "win32/win_api.h"

namespace velmora::win32 {

// A picture loaded by the platform (an OLE picture), shown through a host's "Picture" property.
class OlePicture final : public Picture, public DispatchBacked {
 public:
  explicit OlePicture(IPictureDisp* picture);  // takes over the caller's reference
  ~OlePicture() override;
  OlePicture(const OlePicture&) = delete;
  OlePicture& operator=(const OlePicture&) = delete;

  IDispatch* dispatch() const override { return picture_; }

 private:
  IPictureDisp* picture_;
};

}  // namespace velmora::win32
