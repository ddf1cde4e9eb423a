#include "display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace velmora::linux_platform {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? v : "";
}

// Whether something listens on the local socket; `abstract` for Linux's abstract namespace,
// where X servers listen as well as in /tmp/.X11-unix.
bool Listening(const std::string& path, bool abstract) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::size_t offset = abstract ? 1 : 0;
  if (path.size() + offset >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path + offset, path.data(), path.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&addr), len) == 0;
  close(fd);
  return ok;
}

// An X display is reachable: a local one (":0", "unix:0.0") answers on its socket; a remote one
// is taken on trust.
bool XReachable() {
  std::string display = Env("DISPLAY");
  if (display.rfind("unix:", 0) == 0) display.erase(0, 4);
  if (display.empty()) return false;
  if (display.front() != ':') return true;
  const std::string number = display.substr(1, display.find('.') - 1);
  const std::string socket = "/tmp/.X11-unix/X" + number;
  return Listening(socket, false) || Listening(socket, true);
}

bool WaylandReachable() {
  const std::string name = Env("WAYLAND_DISPLAY");
  if (name.empty()) return false;
  if (name.front() == '/') return Listening(name, false);
  const std::string dir = Env("XDG_RUNTIME_DIR");
  return !dir.empty() && Listening(dir + "/" + name, false);
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

std::string DisplayPlatform() {
  // Qt ends the process when its platform cannot connect, so the display is looked at first.
  std::string forced = Env("QT_QPA_PLATFORM");
  if (!forced.empty()) {
    if (StartsWith(forced, "xcb")) return XReachable() ? forced : "";
    if (StartsWith(forced, "wayland")) return WaylandReachable() ? forced : "";
    return forced;  // offscreen, minimal, vnc...: they need no display
  }
  if (XReachable()) return "xcb";
  if (WaylandReachable()) return "wayland";
  return "";
}

bool InteractivePlatform(std::string_view platform) {
  return StartsWith(platform, "xcb") || StartsWith(platform, "wayland");
}

}  // namespace velmora::linux_platform
