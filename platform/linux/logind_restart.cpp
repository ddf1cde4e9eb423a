// The restart request on Linux: systemd-logind's Manager over D-Bus. The library never calls
// reboot(2): logind applies the system's policy (other sessions, inhibitors, polkit rules) the
// way the Windows restart applies the shutdown privilege.
//
// libdbus-1 is loaded on the first request, not linked: with what it pulls in (libsystemd,
// libgcrypt, three compressors) it would double the libraries every command maps to print one
// amount. Without it the requests fail as an unreachable logind does.
#include "logind_restart.h"

#include <dbus/dbus.h>
#include <dlfcn.h>

#include <memory>
#include <string>

namespace velmora::linux_platform {

namespace {

// The functions of libdbus-1 the requests call, looked up by name.
#define VELMORA_DBUS_FUNCTIONS(X)              \
  X(dbus_error_init)                           \
  X(dbus_error_free)                           \
  X(dbus_bus_get_private)                      \
  X(dbus_connection_open_private)              \
  X(dbus_bus_register)                         \
  X(dbus_connection_close)                     \
  X(dbus_connection_unref)                     \
  X(dbus_connection_set_exit_on_disconnect)    \
  X(dbus_message_new_method_call)              \
  X(dbus_message_append_args)                  \
  X(dbus_connection_send_with_reply_and_block) \
  X(dbus_message_unref)                        \
  X(dbus_message_get_args)

struct Dbus {
// NOLINTNEXTLINE(bugprone-macro-parentheses): a declaration, not an expression
#define VELMORA_DBUS_MEMBER(name) decltype(&::name) name = nullptr;
  VELMORA_DBUS_FUNCTIONS(VELMORA_DBUS_MEMBER)
#undef VELMORA_DBUS_MEMBER
};

// libdbus-1, loaded once and kept; null when it cannot be loaded or lacks a function.
const Dbus* Lib() {
  static const std::unique_ptr<const Dbus> lib = []() -> std::unique_ptr<const Dbus> {
    void* handle = dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    auto d = std::make_unique<Dbus>();
    bool complete = true;
#define VELMORA_DBUS_BIND(name)                                        \
  d->name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
  complete = complete && d->name != nullptr;
    VELMORA_DBUS_FUNCTIONS(VELMORA_DBUS_BIND)
#undef VELMORA_DBUS_BIND
    if (!complete) return nullptr;
    return d;
  }();
  return lib.get();
}

constexpr const char* kService = "org.freedesktop.login1";
constexpr const char* kPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";
constexpr int kTimeoutMs = 5000;

struct ConnectionCloser {
  const Dbus* db;
  void operator()(DBusConnection* c) const {
    db->dbus_connection_close(c);
    db->dbus_connection_unref(c);
  }
};
using Connection = std::unique_ptr<DBusConnection, ConnectionCloser>;

struct MessageUnref {
  const Dbus* db;
  void operator()(DBusMessage* m) const { db->dbus_message_unref(m); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

// A private connection, so that closing it touches nobody else's; null when the bus is not
// there.
Connection Connect(const Dbus& db, const std::string& address) {
  DBusError error;
  db.dbus_error_init(&error);
  DBusConnection* c = nullptr;
  if (address.empty()) {
    c = db.dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
  } else {
    c = db.dbus_connection_open_private(address.c_str(), &error);
    if (c != nullptr && !db.dbus_bus_register(c, &error)) {
      db.dbus_connection_close(c);
      db.dbus_connection_unref(c);
      c = nullptr;
    }
  }
  db.dbus_error_free(&error);
  // A bus that goes away must not end the host's process.
  if (c != nullptr) db.dbus_connection_set_exit_on_disconnect(c, FALSE);
  return {c, ConnectionCloser{&db}};
}

// Calls a method of logind's Manager; the reply, or null when the call failed or was refused.
Message Call(const Dbus& db, const std::string& address, const char* method,
             const dbus_bool_t* flag) {
  Connection c = Connect(db, address);
  if (!c) return {nullptr, MessageUnref{&db}};
  Message call(db.dbus_message_new_method_call(kService, kPath, kManager, method),
               MessageUnref{&db});
  if (!call) return {nullptr, MessageUnref{&db}};
  if (flag != nullptr &&
      !db.dbus_message_append_args(call.get(), DBUS_TYPE_BOOLEAN, flag, DBUS_TYPE_INVALID))
    return {nullptr, MessageUnref{&db}};
  DBusError error;
  db.dbus_error_init(&error);
  Message reply(
      db.dbus_connection_send_with_reply_and_block(c.get(), call.get(), kTimeoutMs, &error),
      MessageUnref{&db});
  db.dbus_error_free(&error);
  return reply;
}

}  // namespace

#undef VELMORA_DBUS_FUNCTIONS

bool LogindCanReboot(const std::string& bus_address) {
  const Dbus* db = Lib();
  if (db == nullptr) return false;
  const Message reply = Call(*db, bus_address, "CanReboot", nullptr);
  if (!reply) return false;
  DBusError error;
  db->dbus_error_init(&error);
  const char* answer = nullptr;
  const bool read =
      db->dbus_message_get_args(reply.get(), &error, DBUS_TYPE_STRING, &answer, DBUS_TYPE_INVALID);
  db->dbus_error_free(&error);
  if (!read || answer == nullptr) return false;
  // "challenge": allowed once the user proves who they are; the request below decides.
  const std::string a = answer;
  return a == "yes" || a == "challenge";
}

bool LogindReboot(const std::string& bus_address) {
  const Dbus* db = Lib();
  if (db == nullptr) return false;
  const dbus_bool_t interactive = FALSE;  // no password prompt: a refusal is the answer
  return Call(*db, bus_address, "Reboot", &interactive) != nullptr;
}

}  // namespace velmora::linux_platform
