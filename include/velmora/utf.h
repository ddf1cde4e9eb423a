// UTF-8 at the edges, UTF-16 inside.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Decodes UTF-8 into 16-bit units; malformed bytes become U+FFFD.
std::u16string FromUtf8(std::string_view text);
// Encodes 16-bit units as UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// The same conversions appended to a string the caller keeps: a reader or writer of many lines
// reuses one buffer instead of building a string per line.
void AppendUtf16(std::string_view text, std::u16string& out);
void AppendUtf8(std::u16string_view text, std::string& out);

}  // namespace velmora
