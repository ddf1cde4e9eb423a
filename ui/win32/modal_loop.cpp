#include "win32/modal_loop.h"

#include <vector>

namespace velmora::win32ui {

namespace {

struct Walk {
  HWND except;
  std::vector<HWND> disabled;
};

BOOL CALLBACK DisableOne(HWND w, LPARAM l) {
  auto* walk = win32::FromInteger<Walk*>(l);
  if (w != walk->except && IsWindowVisible(w) && IsWindowEnabled(w)) {
    EnableWindow(w, FALSE);
    walk->disabled.push_back(w);
  }
  return TRUE;
}

// The thread's enabled, visible top-level windows other than `except`, disabled while a modal
// window is open.
std::vector<HWND> DisableOthers(HWND except) {
  Walk walk{except, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&walk));
  return walk.disabled;
}

}  // namespace

bool RunModal(HWND window, const std::function<bool()>& done) {
  const std::vector<HWND> disabled =
      window != nullptr ? DisableOthers(window) : std::vector<HWND>{};
  bool finished = true;
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The quit request belongs to the host's own loop: put it back and stop waiting.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      finished = false;
      break;
    }
    if (window == nullptr || !IsWindow(window) || !IsDialogMessageW(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  for (HWND w : disabled) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  return finished;
}

}  // namespace velmora::win32ui
