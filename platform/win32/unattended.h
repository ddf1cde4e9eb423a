// Runs where nobody is there to answer: the switch, and where such a run reports what it did.
#pragma once

#include <string_view>

namespace velmora::win32 {

// Whether nobody is to be waited for: the environment variable VELMORA_UNATTENDED is set to
// anything but empty or "0". Read at each use, so a process may change it as it goes.
bool UnattendedMode();

// Writes text to the standard error, one line per line of the text, as unattended message
// boxes are reported (in UTF-8 unless the standard error is a console).
void WriteStandardError(std::u16string_view text);

}  // namespace velmora::win32
