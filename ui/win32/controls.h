// The child controls the library's windows are built of, and their texts.
#pragma once

#include <string>
#include <string_view>

#include "win32/win_api.h"

namespace velmora::win32ui {

// A child control at a rectangle of its parent's client area, in the labels' font.
HWND MakeControl(HWND parent, const wchar_t* window_class, std::u16string_view text, DWORD style,
                 const RECT& r, int id = 0);
HWND MakeLabel(HWND parent, std::u16string_view text, const RECT& r, int id = 0,
               DWORD align = SS_LEFT);
HWND MakeButton(HWND parent, std::u16string_view text, const RECT& r, int id);
HWND MakeFrame(HWND parent, std::u16string_view caption, const RECT& r, int id = 0);
// A box drawn as a black outline, or a line when one side is a pixel.
HWND MakeOutline(HWND parent, const RECT& r);

// Sets a control's text only when it changed (a repaint is the dearest part of a tick).
void SetText(HWND control, std::u16string_view text);
std::u16string TextOf(HWND control);

}  // namespace velmora::win32ui
