#include "win32/unattended.h"

#include <array>
#include <string>

#include "velmora/utf.h"
#include "win32/win_api.h"

namespace velmora::win32 {

bool UnattendedMode() {
  std::array<wchar_t, 16> value{};
  const DWORD n = GetEnvironmentVariableW(L"VELMORA_UNATTENDED", value.data(),
                                          static_cast<DWORD>(value.size()));
  if (n == 0) return false;  // unset or empty
  return !(n == 1 && value[0] == L'0');
}

void WriteStandardError(std::u16string_view line) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(err, &mode)) {
    const std::u16string text = std::u16string(line) + u"\r\n";
    WriteConsoleW(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    const std::string text = ToUtf8(line) + "\n";
    WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

}  // namespace velmora::win32
