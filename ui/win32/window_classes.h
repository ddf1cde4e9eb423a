// The window classes of the library's Win32 windows and controls. They belong to the module the
// library's code lives in (the DLL, not the host's program).
#pragma once

#include "win32/win_api.h"

namespace velmora::win32ui {

// The module this code lives in: the owner of the library's window classes and windows.
HINSTANCE ThisModule();

// Registers a window class of the library once (again after UnregisterWindowClasses), with the
// arrow cursor and, for `background` >= 0, that system colour as its background.
void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, int background = -1);

// Registers the common controls' classes the windows use (list-views, tooltips, buttons) once.
void EnsureCommonControls();

// Removes the library's window classes, once no window of theirs is left (LibraryWindowsOpen),
// so that a later load of the library (perhaps at another address) registers them afresh.
void UnregisterWindowClasses();

}  // namespace velmora::win32ui
