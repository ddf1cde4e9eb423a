// A top-level window of the library, its messages answered by a C++ object.
#pragma once

#include <string_view>

#include "win32/twips.h"
#include "win32/win_api.h"

namespace velmora::win32ui {

// The library's windows that exist now. The library must stay loaded while there is one: its
// code answers their messages.
int LibraryWindowsOpen();

// A top-level window whose messages go to a C++ object.
class NativeWindow {
 public:
  NativeWindow() = default;
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;
  virtual ~NativeWindow();

  HWND hwnd() const { return hwnd_; }

 protected:
  // Creates the window with a client area of the given pixels; raises the no-display error (5)
  // when the system makes no window (no display).
  void CreateNative(const wchar_t* window_class, std::u16string_view title, DWORD style,
                    DWORD ex_style, int client_width, int client_height, HWND owner);
  // A message of the window. The default answers the colours of labels and lets the system do
  // the rest.
  virtual LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  // Sets the size of the client area, keeping the frame around it.
  void SetClientSize(int width, int height);

  Twips twips_;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
};

}  // namespace velmora::win32ui
