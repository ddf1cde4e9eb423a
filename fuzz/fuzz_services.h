// The fuzzer's platform: fakes of every service, and odd host forms.
#pragma once

#include <cstdint>
#include <memory>

#include "velmora/services.h"
#include "velmora/variant.h"

namespace velmora {

class FuzzServices {
 public:
  FuzzServices();
  std::shared_ptr<const Services> services() const { return services_; }
  // A host object chosen by the byte: forms with odd controls, or objects that are no forms.
  Variant FuzzObject(std::uint8_t pick);

 private:
  std::shared_ptr<Services> services_;
};

}  // namespace velmora
