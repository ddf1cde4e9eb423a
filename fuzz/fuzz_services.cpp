#include "fuzz_services.h"

namespace velmora {

namespace {
// An object that is not reachable by name: what a host passes when it passes the wrong thing.
class Opaque : public Object {};
}  // namespace

FuzzServices::FuzzServices()
    : services_(FixedServices(MakeDate({2009, 3, 15}, {17, 30, 0}))) {}

Variant FuzzServices::FuzzObject(std::uint8_t pick) {
  switch (pick % 2) {
    case 0: return Variant(ObjectRef{});
    default: return Variant(ObjectRef(std::make_shared<Opaque>()));
  }
}

}  // namespace velmora
