#include "win32/shapes.h"

#include <algorithm>
#include <string>

#include "win32/controls.h"
#include "win32/fonts.h"
#include "win32/wide.h"
#include "win32/window_classes.h"

namespace velmora::win32ui {

namespace {

constexpr const wchar_t* kShapeClass = L"VelmoraShape";
constexpr const wchar_t* kFullWidth = L"VelmoraFullWidth";
constexpr const wchar_t* kOutlined = L"VelmoraOutlined";

// The colour is the window's user data. A caption (the window's text) is centred over the bar's
// full width, so that the part the bar covers and the part its track shows read as one text
// whatever the bar's width.
LRESULT CALLBACK ShapeProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      HBRUSH brush =
          CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      if (GetPropW(window, kOutlined) != nullptr)
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
      const std::u16string caption = TextOf(window);
      if (!caption.empty()) {
        RECT text = r;
        text.right = static_cast<LONG>(reinterpret_cast<INT_PTR>(GetPropW(window, kFullWidth)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ old = SelectObject(dc, LabelFont());
        DrawTextW(dc, win32::Wide(caption), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      RemovePropW(window, kFullWidth);
      RemovePropW(window, kOutlined);
      return DefWindowProcW(window, message, w, l);
    default: return DefWindowProcW(window, message, w, l);
  }
}

}  // namespace

HWND MakeShape(HWND parent, COLORREF colour, const RECT& r, int id, std::u16string_view caption) {
  EnsureWindowClass(kShapeClass, ShapeProcedure);
  HWND shape = MakeControl(parent, kShapeClass, caption, 0, r, id);
  if (shape != nullptr) {
    SetWindowLongPtrW(shape, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    SetPropW(shape, kFullWidth, win32::FromInteger<HANDLE>(r.right - r.left));
    InvalidateRect(shape, nullptr, TRUE);
  }
  return shape;
}

HWND MakeTrack(HWND parent, const RECT& r, std::u16string_view caption) {
  HWND track = MakeShape(parent, GetSysColor(COLOR_BTNFACE), r, 0, caption);
  if (track != nullptr) SetPropW(track, kOutlined, win32::FromInteger<HANDLE>(1));
  return track;
}

bool SetShapeWidth(HWND shape, int px) {
  RECT r;
  GetClientRect(shape, &r);
  if (r.right - r.left == px) return false;
  SetWindowPos(shape, nullptr, 0, 0, std::max(0, px), r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

}  // namespace velmora::win32ui
