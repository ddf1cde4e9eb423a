#include "velmora/host.h"

#include "velmora/error.h"

namespace velmora {

HostObject& AsHostObject(const ObjectRef& object) {
  if (!object) throw Error(err::kObjectRequired);
  auto* host = dynamic_cast<HostObject*>(object.get());
  if (host == nullptr) throw Error(err::kNoMember);
  return *host;
}

}  // namespace velmora
