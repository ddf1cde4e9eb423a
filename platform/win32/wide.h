// The library's texts (UTF-16 in char16_t) as the W functions of Windows take and give them
// (UTF-16 in wchar_t): the same code units, only the type differs.
#pragma once

#include <cwchar>
#include <string>

namespace velmora::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

// The text for a W function; valid while `text` lives and is not changed.
inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The first `size` characters a W function gave.
inline std::u16string FromWide(const wchar_t* text, std::size_t size) {
  return {reinterpret_cast<const char16_t*>(text), size};
}

// A NUL-terminated text a W function gave.
inline std::u16string FromWide(const wchar_t* text) { return FromWide(text, std::wcslen(text)); }

}  // namespace velmora::win32
