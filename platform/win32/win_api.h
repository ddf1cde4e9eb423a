// The Windows API headers as the Windows face of the library includes them.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <dispex.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <windows.h>

// windows.h spells some of its functions as macros over their A/W variants; these clash with
// names of the library (velmora::MessageBox, PhotoFileSystem::ReplaceFile). The Windows code
// here calls the W functions by their own names.
#undef MessageBox
#undef ReplaceFile

namespace velmora::win32 {

// A handle or pointer that the system's message protocol carries in an integer (a message
// parameter, a window's user data, a control's identifier): the one place such a cast is written.
template <typename T>
T FromInteger(LONG_PTR value) {
  return reinterpret_cast<T>(value);  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace velmora::win32
