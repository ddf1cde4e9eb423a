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
// names of the library (velmora::MessageBox, velmora::FindFirstFile,
// PhotoFileSystem::ReplaceFile). The Windows code here calls the W functions by their own names.
#undef MessageBox
#undef FindFirstFile
#undef ReplaceFile
