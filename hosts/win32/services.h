// The one place a Windows process's Services are put together.
#pragma once

#include <memory>

#include "velmora/services.h"

namespace velmora::win32 {

// The services of the calling thread of a Windows process: the local clock, the user's NLS
// locale, system message boxes, the thread's message pump, OLE pictures, the photo disk, the
// bitmap writer, the camera of Video for Windows, the open-file dialog, the system queries, and
// the library's own windows (those of System and the capture window of PhotoWay).
std::shared_ptr<Services> Win32Services();

}  // namespace velmora::win32
