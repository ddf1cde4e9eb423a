#include "win32/fonts.h"

#include "win32/twips.h"

namespace velmora::win32ui {

namespace {

HFONT MakeFont(const wchar_t* face, int points, int weight) {
  constexpr int kTwipsPerPoint = 20;
  LOGFONTW f{};
  f.lfHeight = -Twips().Y(points * kTwipsPerPoint);  // the character height, in pixels
  f.lfWeight = weight;
  f.lfCharSet = DEFAULT_CHARSET;
  f.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(f.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&f);
}

}  // namespace

HFONT LabelFont() {
  static HFONT font = MakeFont(L"MS Sans Serif", 8, FW_NORMAL);
  return font;
}

HFONT BoldFont() {
  static HFONT font = MakeFont(L"MS Sans Serif", 8, FW_BOLD);
  return font;
}

HFONT SmallFont() {
  static HFONT font = MakeFont(L"Tahoma", 7, FW_NORMAL);
  return font;
}

HFONT SerifFont(int points) {
  static HFONT seven = MakeFont(L"Times New Roman", 7, FW_NORMAL);
  static HFONT nine = MakeFont(L"Times New Roman", 9, FW_NORMAL);
  return points <= 7 ? seven : nine;
}

}  // namespace velmora::win32ui
