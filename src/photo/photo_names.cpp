// Which texts are photo names, and which files are the photo of a name.
#include <array>

#include "velmora/coerce.h"
#include "velmora/photo.h"

namespace velmora {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters that no photo name carries: separators, and what Windows takes for a drive or a
// stream (':') or for a pattern of its directory search ('*' '?' and the '"' '<' '>' that its
// file systems read as wildcards too), with '|', which no Windows name may hold.
PhotoNameFault CharacterFault(std::u16string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c < 0x20 || c == 0x7F) return PhotoNameFault::kControl;
    if (c == u'/' || c == u'\\') return PhotoNameFault::kSeparator;
    if (std::u16string_view(u":*?\"<>|").find(c) != std::u16string_view::npos) {
      return PhotoNameFault::kReserved;
    }
    if (IsHighSurrogate(c)) {
      if (i + 1 == name.size() || !IsLowSurrogate(name[i + 1])) return PhotoNameFault::kBrokenText;
      ++i;
    } else if (IsLowSurrogate(c)) {
      return PhotoNameFault::kBrokenText;
    }
  }
  return PhotoNameFault::kNone;
}

// Windows opens its devices under these names in every folder, whatever extension follows: the
// part before the first dot, blanks at its end dropped, is what it compares ("CON .jpg" is CON).
bool IsDevice(std::u16string_view upper) {
  std::u16string_view base = upper.substr(0, upper.find(u'.'));
  base = TrimRightBlanks(base);
  static constexpr std::array<std::u16string_view, 6> kFixed{u"CON", u"PRN",    u"AUX",
                                                             u"NUL", u"CONIN$", u"CONOUT$"};
  for (std::u16string_view device : kFixed) {
    if (base == device) return true;
  }
  // COM and LPT with one digit; the superscripts ¹ ² ³ count as digits to Windows. COM0 and
  // LPT0 are refused as well: Windows asks that they be kept free.
  if (base.size() != 4 || (base.substr(0, 3) != u"COM" && base.substr(0, 3) != u"LPT")) {
    return false;
  }
  const char16_t digit = base[3];
  return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' ||
         digit == u'\u00B3';
}

// A short name of Windows ("PEDRO~1" for "PEDRO PÉREZ.jpg"): another file's second name, so
// saving under it could replace that file.
bool IsShortNameShape(std::u16string_view upper) {
  if (upper.size() > 8 || upper.find(u'.') != std::u16string_view::npos) return false;
  for (std::size_t i = 0; i + 1 < upper.size(); ++i) {
    if (upper[i] == u'~' && upper[i + 1] >= u'0' && upper[i + 1] <= u'9') return true;
  }
  return false;
}

}  // namespace

PhotoNameFault CheckPhotoName(std::u16string_view name) {
  const std::u16string upper = UpperCase(TrimBlanks(name));
  if (upper.empty()) return PhotoNameFault::kEmpty;
  if (upper.size() > kMaxPhotoName) return PhotoNameFault::kTooLong;
  if (const PhotoNameFault fault = CharacterFault(upper); fault != PhotoNameFault::kNone) {
    return fault;
  }
  if (upper.front() == u'.' || upper.back() == u'.') return PhotoNameFault::kDots;
  if (IsDevice(upper)) return PhotoNameFault::kDevice;
  if (IsShortNameShape(upper)) return PhotoNameFault::kShortName;
  return PhotoNameFault::kNone;
}

std::u16string_view PhotoNameFaultText(PhotoNameFault fault) {
  switch (fault) {
    case PhotoNameFault::kNone: return {};
    case PhotoNameFault::kEmpty: return u"está vacío";
    case PhotoNameFault::kTooLong: return u"tiene más de 200 caracteres";
    case PhotoNameFault::kSeparator: return u"lleva / o \\, que separan carpetas";
    case PhotoNameFault::kReserved: return u"lleva alguno de los caracteres : * ? \" < > |";
    case PhotoNameFault::kControl: return u"lleva caracteres de control";
    case PhotoNameFault::kBrokenText: return u"lleva caracteres incompletos";
    case PhotoNameFault::kDots: return u"es . o .., o empieza o termina con punto";
    case PhotoNameFault::kDevice:
      return u"es el nombre de un dispositivo de Windows (CON, PRN, AUX, NUL, COM1, LPT1...)";
    case PhotoNameFault::kShortName:
      return u"tiene la forma de un nombre corto de Windows (como PEDRO~1)";
  }
  return {};
}

bool IsPhotoOf(std::u16string_view file, std::u16string_view name) {
  // The directory search's "NAME.*": the bare name, or the name and any extension.
  if (file.size() < name.size() || !SameName(file.substr(0, name.size()), name)) return false;
  return file.size() == name.size() || file[name.size()] == u'.';
}

}  // namespace velmora
