#include "win32/window_classes.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "win32/native_window.h"

namespace velmora::win32ui {

namespace {

std::vector<std::wstring> registered_classes;  // touched on the user-interface thread only

}  // namespace

HINSTANCE ThisModule() {
  static HINSTANCE module = [] {
    HMODULE m = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &m);
    return m;
  }();
  return module;
}

void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, int background) {
  WNDCLASSW wc{};
  if (GetClassInfoW(ThisModule(), name, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.hInstance = ThisModule();
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  if (background >= 0) wc.hbrBackground = GetSysColorBrush(background);
  if (RegisterClassW(&wc) != 0) registered_classes.emplace_back(name);
}

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX),
                             ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

void UnregisterWindowClasses() {
  if (LibraryWindowsOpen() != 0) return;
  for (const std::wstring& name : registered_classes) UnregisterClassW(name.c_str(), ThisModule());
  registered_classes.clear();
}

}  // namespace velmora::win32ui
