#include "win32/controls.h"

#include <algorithm>
#include <vector>

#include "win32/fonts.h"
#include "win32/wide.h"
#include "win32/window_classes.h"

namespace velmora::win32ui {

using win32::Wide;

HWND MakeControl(HWND parent, const wchar_t* window_class, std::u16string_view text, DWORD style,
                 const RECT& r, int id) {
  EnsureCommonControls();
  const std::u16string t(text);
  // Controls that overlap (a bar over its track, a panel over the controls it hides) each paint
  // only what no sibling above them covers.
  HWND control =
      CreateWindowExW(0, window_class, Wide(t), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                      r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                      win32::FromInteger<HMENU>(id), ThisModule(), nullptr);
  if (control != nullptr)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(LabelFont()), 0);
  return control;
}

HWND MakeLabel(HWND parent, std::u16string_view text, const RECT& r, int id, DWORD align) {
  return MakeControl(parent, L"STATIC", text, align | SS_NOPREFIX | SS_CENTERIMAGE, r, id);
}

HWND MakeButton(HWND parent, std::u16string_view text, const RECT& r, int id) {
  return MakeControl(parent, L"BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP, r, id);
}

HWND MakeFrame(HWND parent, std::u16string_view caption, const RECT& r, int id) {
  // A frame lies under the controls drawn in it (they are made before it and so stand above it
  // in the order of siblings) and never paints over them.
  return MakeControl(parent, L"BUTTON", caption, BS_GROUPBOX | WS_CLIPSIBLINGS, r, id);
}

HWND MakeOutline(HWND parent, const RECT& r) {
  return MakeControl(parent, L"STATIC", u"", SS_BLACKFRAME, r);
}

void SetText(HWND control, std::u16string_view text) {
  if (control == nullptr || TextOf(control) == text) return;
  const std::u16string t(text);
  SetWindowTextW(control, Wide(t));
}

std::u16string TextOf(HWND control) {
  const int n = GetWindowTextLengthW(control);
  if (n <= 0) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  return win32::FromWide(text.data(), static_cast<std::size_t>(std::max(0, got)));
}

}  // namespace velmora::win32ui
