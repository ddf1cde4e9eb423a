// The services every Linux process gets load the window-system plugin only when a window could
// be shown and is asked for. Each case runs in a process of its own, started clean, since a
// plugin once loaded stays for the life of the process.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "linux/console_dialogs.h"
#include "linux/services.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora::linux_platform {
namespace {

// Whether a library of that name is mapped into this process.
bool Mapped(const std::string& name) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find(name) != std::string::npos) return true;
  }
  return false;
}

enum class Display { kNone, kOffscreen };

struct Case {
  const char* what;
  Display display;
  bool unattended;
  std::function<void(Dolva&)> call;
  bool plugin;      // libvelmora-qt and Qt Widgets mapped afterwards
  int error;        // the call's runtime error, 0 for none
  const char* err;  // what standard error must hold (a regular expression)
};

// Runs the case in this process and ends it, writing what happened to standard error.
[[noreturn]] void RunAndExit(const Case& c) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("QT_QPA_PLATFORM");
  if (c.display == Display::kOffscreen) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (c.unattended) setenv(kUnattendedVariable, "1", 1);
  else unsetenv(kUnattendedVariable);
  Dolva dolva(LinuxServices("es_MX"));
  int error = 0;
  try {
    c.call(dolva);
  } catch (const Error& e) {
    error = e.number();
  }
  const bool plugin = Mapped("libvelmora-qt.so.1") && Mapped("libQt6Widgets");
  std::fprintf(stderr, "\nplugin %s, error %d\n", plugin ? "yes" : "no", error);
  std::fflush(stderr);
  std::_Exit(0);  // no exit handlers: the windows and Qt stay as they are
}

TEST(WindowSystem, LoadedOnlyWhenAWindowCouldBeShown) {
#ifndef VELMORA_TEST_QT_PLUGIN
  GTEST_SKIP() << "built without the Qt views";
#endif
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto box = [](Dolva& d) {
    bool message = true;
    std::u16string module = u"Ventas";
    d.Derecho(3, u"0011", message, module);
  };
  auto pc_info = [](Dolva& d) {
    Variant modal(true);
    bool nuevo = true;
    d.System(modal, nuevo);
  };
  auto splash = [](Dolva& d) {
    Variant modal(false);
    bool nuevo = false;
    d.System(modal, nuevo);
  };
  auto photo = [](Dolva& d) {
    std::u16string name = u"JUAN", folder = u"/tmp";
    d.PhotoWay(name, folder);
  };
  const Case cases[] = {
      {"no window", Display::kNone, false,
       [](Dolva& d) {
         std::int16_t year = 1994;
         d.NumRomano(year);
       },
       false, 0, ""},
      {"unattended box", Display::kNone, true, box, false, 0, "desatendido, se elige: Aceptar"},
      {"unattended box, offscreen", Display::kOffscreen, true, box, false, 0,
       "desatendido, se elige: Aceptar"},
      {"window, nobody at a display", Display::kNone, false, pc_info, false, 5, ""},
      {"capture window, nobody at a display", Display::kNone, false, photo, false, 5, ""},
      {"unattended window, offscreen", Display::kOffscreen, true, pc_info, true, 0,
       "FrmPCInfo .ventana. ==\n.desatendido, se cierra con: &Finalizar"},
      {"unattended window, no display", Display::kNone, true, splash, true, 0,
       "frmSplashSys .ventana. ==\n.desatendido, se cierra con: &Salir"},
      {"unattended capture window", Display::kNone, true, photo, true, 0,
       "FrmTomaFoto .ventana. ==\n.desatendido, se cierra con"},
  };
  for (const Case& c : cases) {
    const std::string outcome = std::string("plugin ") + (c.plugin ? "yes" : "no") + ", error " +
                                std::to_string(c.error) + "\n$";
    EXPECT_EXIT(RunAndExit(c), ::testing::ExitedWithCode(0),
                std::string(c.err) + "(.|\n)*" + outcome)
        << c.what;
  }
}

}  // namespace
}  // namespace velmora::linux_platform
