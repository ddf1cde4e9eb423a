#include "velmora/dolva.h"

#include <limits>

namespace velmora {

namespace {
// Instance numbers are per thread: the library's state lives on the thread that uses it.
thread_local std::int32_t instance_counter = 0;
}  // namespace

Dolva::Dolva(std::shared_ptr<const Services> services) : services_(std::move(services)) {
  // Creation never fails: past the 32-bit range the counter stays and the number is 0.
  if (instance_counter < std::numeric_limits<std::int32_t>::max()) {
    debug_id_ = ++instance_counter;
  }
}

std::shared_ptr<Services> FixedServices(Date now, LocaleData locale) {
  auto s = std::make_shared<Services>();
  s->clock = std::make_shared<FixedClock>(now);
  s->locale = std::move(locale);
  return s;
}

}  // namespace velmora
