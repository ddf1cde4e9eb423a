// The fuzzer's platform: fakes of every service, set up from the input, and odd host forms.
// Nothing here opens a window, waits for a person or reaches the real restart request: the
// system windows and the capture window run their models against recording surfaces, and the
// user's clicks come from the input too.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "velmora/services.h"
#include "velmora/variant.h"

namespace velmora {

class FuzzServices {
 public:
  // Takes its figures, answers and faults from `in`, which must outlive the call it serves.
  explicit FuzzServices(FuzzedDataProvider& in);
  std::shared_ptr<const Services> services() const { return services_; }
  // A host object chosen by the input: forms with usual and odd controls, a control where a
  // form is expected, objects that are no forms, Nothing.
  Variant FuzzObject();

 private:
  FuzzedDataProvider& in_;
  std::shared_ptr<Services> services_;
};

}  // namespace velmora
