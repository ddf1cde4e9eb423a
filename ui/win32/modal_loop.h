// The library's modal windows wait in the thread's own message loop.
#pragma once

#include <functional>

#include "win32/win_api.h"

namespace velmora::win32ui {

// Runs the thread's messages until `done`, with the thread's other windows disabled when a modal
// window is given; false when a quit request ended the wait (it is left for the host's loop).
bool RunModal(HWND window, const std::function<bool()>& done);

}  // namespace velmora::win32ui
