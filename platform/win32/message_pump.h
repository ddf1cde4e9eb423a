// The thread's window messages, run while the library waits inside a call.
#pragma once

#include "velmora/host.h"

namespace velmora::win32 {

// Runs the thread's pending window messages and returns when none is left. A quit request is
// put back for the host's own loop, and ends the run.
void RunPendingMessages();

// The event pump of a Windows thread: RunPendingMessages.
class MessagePump final : public EventPump {
 public:
  void ProcessPending() override { RunPendingMessages(); }
};

}  // namespace velmora::win32
