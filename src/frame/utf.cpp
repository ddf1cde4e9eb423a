#include "velmora/utf.h"

#include <cstdint>

namespace velmora {

namespace {

// Most text at the edges is ASCII (names, numbers, the amounts' words): a run of it is found a
// block at a time and copied unit for unit, in loops the compiler widens, before the general
// coder takes over.
template <typename Unit>
std::size_t AsciiRun(const Unit* text, std::size_t size) {
  using U = std::make_unsigned_t<Unit>;
  constexpr std::size_t kBlock = 16;
  std::size_t n = 0;
  for (; n + kBlock <= size; n += kBlock) {
    U any = 0;
    for (std::size_t k = 0; k < kBlock; ++k) any |= static_cast<U>(text[n + k]);
    if (any >= 0x80) break;
  }
  while (n < size && static_cast<U>(text[n]) < 0x80) ++n;
  return n;
}

// Blocks of a fixed size, so the copy is widened without a check at run time; the two strings
// never overlap.
template <typename To, typename From>
void AppendAscii(const From* __restrict text, std::size_t n, std::basic_string<To>& out) {
  constexpr std::size_t kBlock = 16;
  const std::size_t at = out.size();
  out.resize(at + n);
  To* __restrict dst = out.data() + at;
  std::size_t k = 0;
  for (; k + kBlock <= n; k += kBlock) {
    for (std::size_t j = 0; j < kBlock; ++j) dst[k + j] = static_cast<To>(text[k + j]);
  }
  for (; k < n; ++k) dst[k] = static_cast<To>(text[k]);
}

}  // namespace

void AppendUtf16(std::string_view text, std::u16string& out) {
  std::size_t i = AsciiRun(text.data(), text.size());
  AppendAscii(text.data(), i, out);
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      const std::size_t n = AsciiRun(text.data() + i, text.size() - i);
      AppendAscii(text.data() + i, n, out);
      i += n;
      continue;
    }
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    std::size_t need = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
      need = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      need = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      need = 3, cp = b0 & 0x07, min = 0x10000;
    }
    bool ok = need > 0;
    for (std::size_t k = 1; ok && k <= need; ++k) {
      if (i + k >= text.size()) {
        ok = false;
        break;
      }
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (b & 0x3F);
    }
    if (ok && cp >= min && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
      len = need + 1;
    } else {
      cp = 0xFFFD;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
}

void AppendUtf8(std::u16string_view text, std::string& out) {
  // Written through a pointer into room for the worst case, three bytes per unit (a pair of
  // units makes four), then cut to size: one allocation, no check per byte.
  const std::size_t at = out.size();
  out.resize(at + text.size() * 3);
  char* __restrict p = out.data() + at;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] < 0x80) {
      const std::size_t n = AsciiRun(text.data() + i, text.size() - i);
      for (std::size_t k = 0; k < n; ++k) p[k] = static_cast<char>(text[i + k]);
      p += n;
      i += n;
      continue;
    }
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x800) {
      *p++ = static_cast<char>(0xC0 | (cp >> 6));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (cp >> 12));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *p++ = static_cast<char>(0xF0 | (cp >> 18));
      *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    ++i;
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  AppendUtf16(text, out);
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  AppendUtf8(text, out);
  return out;
}

}  // namespace velmora
