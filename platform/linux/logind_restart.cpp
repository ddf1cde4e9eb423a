// The restart request on Linux: systemd-logind's Manager over D-Bus. The library never calls
// reboot(2): logind applies the system's policy (other sessions, inhibitors, polkit rules) the
// way the Windows restart applies the shutdown privilege.
#include <dbus/dbus.h>

#include <memory>
#include <string>

#include "logind_restart.h"

namespace velmora::linux_platform {

namespace {

constexpr const char* kService = "org.freedesktop.login1";
constexpr const char* kPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";
constexpr int kTimeoutMs = 5000;

struct ConnectionCloser {
  void operator()(DBusConnection* c) const {
    dbus_connection_close(c);
    dbus_connection_unref(c);
  }
};
using Connection = std::unique_ptr<DBusConnection, ConnectionCloser>;

struct MessageUnref {
  void operator()(DBusMessage* m) const { dbus_message_unref(m); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

// A private connection, so that closing it touches nobody else's; null when the bus is not
// there.
Connection Connect(const std::string& address) {
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* c = nullptr;
  if (address.empty()) {
    c = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
  } else {
    c = dbus_connection_open_private(address.c_str(), &error);
    if (c != nullptr && !dbus_bus_register(c, &error)) {
      dbus_connection_close(c);
      dbus_connection_unref(c);
      c = nullptr;
    }
  }
  dbus_error_free(&error);
  // A bus that goes away must not end the host's process.
  if (c != nullptr) dbus_connection_set_exit_on_disconnect(c, FALSE);
  return Connection(c);
}

// Calls a method of logind's Manager; the reply, or null when the call failed or was refused.
Message Call(const std::string& address, const char* method, const dbus_bool_t* flag) {
  Connection c = Connect(address);
  if (!c) return nullptr;
  Message call(dbus_message_new_method_call(kService, kPath, kManager, method));
  if (!call) return nullptr;
  if (flag != nullptr &&
      !dbus_message_append_args(call.get(), DBUS_TYPE_BOOLEAN, flag, DBUS_TYPE_INVALID))
    return nullptr;
  DBusError error;
  dbus_error_init(&error);
  Message reply(dbus_connection_send_with_reply_and_block(c.get(), call.get(), kTimeoutMs, &error));
  dbus_error_free(&error);
  return reply;
}

}  // namespace

bool LogindCanReboot(const std::string& bus_address) {
  const Message reply = Call(bus_address, "CanReboot", nullptr);
  if (!reply) return false;
  DBusError error;
  dbus_error_init(&error);
  const char* answer = nullptr;
  const bool read =
      dbus_message_get_args(reply.get(), &error, DBUS_TYPE_STRING, &answer, DBUS_TYPE_INVALID);
  dbus_error_free(&error);
  if (!read || answer == nullptr) return false;
  // "challenge": allowed once the user proves who they are; the request below decides.
  const std::string a = answer;
  return a == "yes" || a == "challenge";
}

bool LogindReboot(const std::string& bus_address) {
  const dbus_bool_t interactive = FALSE;  // no password prompt: a refusal is the answer
  return Call(bus_address, "Reboot", &interactive) != nullptr;
}

}  // namespace velmora::linux_platform
