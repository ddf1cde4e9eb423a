#include "win32/native_window.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string>

#include "velmora/sysinfo.h"
#include "win32/wide.h"
#include "win32/window_classes.h"

namespace velmora::win32ui {

using win32::Wide;

namespace {

std::atomic<int> windows_open{0};

}  // namespace

int LibraryWindowsOpen() { return windows_open.load(); }

NativeWindow::~NativeWindow() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);  // no message reaches a gone object
    DestroyWindow(hwnd_);
  }
}

void NativeWindow::CreateNative(const wchar_t* window_class, std::u16string_view title, DWORD style,
                                DWORD ex_style, int client_width, int client_height, HWND owner) {
  EnsureCommonControls();
  EnsureWindowClass(window_class, Procedure, COLOR_BTNFACE);
  HINSTANCE instance = ThisModule();
  RECT r{0, 0, client_width, client_height};
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  const std::u16string t(title);
  // Centred on the screen, as the forms open.
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  HWND made = CreateWindowExW(ex_style, window_class, Wide(t), style, x, y, w, h, owner, nullptr,
                              instance, this);
  if (made == nullptr) throw NoDisplayError();
}

LRESULT CALLBACK NativeWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<NativeWindow*>(win32::FromInteger<CREATESTRUCTW*>(l)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ++windows_open;
  }
  if (message == WM_NCDESTROY) --windows_open;
  auto* self = win32::FromInteger<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w, l);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(window, message, w, l);
  }
  // No exception crosses into the system's code that called us.
  try {
    return self->Handle(message, w, l);
  } catch (...) {
    return DefWindowProcW(window, message, w, l);
  }
}

LRESULT NativeWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      // Labels on the window's face colour (a read-only text box keeps a white face).
      HDC dc = win32::FromInteger<HDC>(static_cast<LONG_PTR>(w));
      auto* control = win32::FromInteger<HWND>(l);
      std::array<wchar_t, 16> cls{};
      GetClassNameW(control, cls.data(), static_cast<int>(cls.size()));
      if (lstrcmpiW(cls.data(), L"Edit") == 0) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default: return DefWindowProcW(hwnd_, message, w, l);
  }
}

void NativeWindow::SetClientSize(int width, int height) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velmora::win32ui
