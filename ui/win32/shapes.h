// The filled rectangles of the library's windows: the bars of the figures and their tracks.
#pragma once

#include <string_view>

#include "win32/win_api.h"

namespace velmora::win32ui {

// A rectangle filled with one colour: the bars, with an optional caption centred over the
// rectangle's width as made (its full width).
HWND MakeShape(HWND parent, COLORREF colour, const RECT& r, int id,
               std::u16string_view caption = {});
// The outlined track a bar grows in, with the same caption as the bar.
HWND MakeTrack(HWND parent, const RECT& r, std::u16string_view caption);
// Sets a bar's width in pixels; false when it already had it.
bool SetShapeWidth(HWND shape, int px);

}  // namespace velmora::win32ui
