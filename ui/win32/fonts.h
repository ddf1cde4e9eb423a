// The fonts of the library's windows, made once for the thread's screen.
#pragma once

#include "win32/win_api.h"

namespace velmora::win32ui {

// The labels' font, MS Sans Serif 8; the same bold.
HFONT LabelFont();
HFONT BoldFont();
// The small print of the splash window's disk box (Tahoma 7).
HFONT SmallFont();
// The company line: Times New Roman of 7 points, or of 9 for any other size asked.
HFONT SerifFont(int points);

}  // namespace velmora::win32ui
