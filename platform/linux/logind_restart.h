// The restart of the machine on Linux, asked of systemd-logind over D-Bus.
#pragma once

#include <string>

namespace velmora::linux_platform {

// The restart requests to systemd-logind at a D-Bus address (empty: the system bus). Whether
// logind would let this user reboot ("yes" or "challenge"), and the request itself, made
// without interaction. Both false when logind refuses or cannot be reached.
bool LogindCanReboot(const std::string& bus_address);
bool LogindReboot(const std::string& bus_address);

}  // namespace velmora::linux_platform
