// The Windows platform services on their own, under Wine with the es_MX locale of run.sh: NLS
// locale data and date patterns, automation values, the system queries and picture loading.
//
// Prints each failure and "SUMMARY platform: N checks, F failures"; the exit status is F.
#include <cstring>
#include <functional>
#include <string>

#include "harness.h"
#include "velmora/error.h"
#include "velmora/utf.h"
#include "win32/dialog_message_box.h"
#include "win32/file_dialog.h"
#include "win32/gdi_bitmaps.h"
#include "win32/local_clock.h"
#include "win32/message_pump.h"
#include "win32/nls_locale.h"
#include "win32/ole_picture.h"
#include "win32/ole_picture_loader.h"
#include "win32/ole_values.h"
#include "win32/photo_files.h"
#include "win32/system_queries.h"
#include "win32/vfw_camera.h"
#include "win32/wide.h"

namespace {

using namespace velmora;
using namespace velmora::win32;
using namespace velmora::comtest;

// The runtime error a call raises, 0 when it raises none.
int ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

void Patterns() {
  struct Case {
    const char16_t* nls;
    const char16_t* pattern;
  };
  const Case cases[] = {
      {u"dddd, d' de 'MMMM' de 'yyyy", u"EEEE, d' de 'MMMM' de 'yyyy"},
      {u"dddd, d 'de' MMMM 'de' yyyy", u"EEEE, d 'de' MMMM 'de' yyyy"},
      {u"dddd, MMMM d, yyyy", u"EEEE, MMMM d, yyyy"},
      {u"ddd dd/MM/yy", u"EEE dd/MM/yy"},
      {u"d MMM y", u"d MMM yy"},
      {u"dd.MM.yyyy g", u"dd.MM.yyyy G"},
      {u"yyyy'年'M'月'd'日'", u"yyyy'年'M'月'd'日'"},
      {u"d 'o''clock' MMMM", u"d 'o''clock' MMMM"},
      {u"d abc MMMM", u"d 'abc' MMMM"},
      {u"d abcdMM", u"d 'abc'dMM"},
      {u"d de MMMM", u"d d'e' MMMM"},  // NLS reads the unquoted d as the day too
      {u"dd 'abierta", u"dd 'abierta'"},
  };
  for (const Case& c : cases) {
    CheckText(PatternFromNls(c.nls), c.pattern, "PatternFromNls(" + ToUtf8(c.nls) + ")");
  }
}

void Locales() {
  const LocaleData es = NlsLocaleData(u"es-MX");
  const LocaleData en = NlsLocaleData(u"en-US");
  const LocaleData de = NlsLocaleData(u"de-DE");
  struct Row {
    const char* what;
    std::u16string actual;
    std::u16string_view expected;
  };
  const Row rows[] = {
      {"es-MX name", FromUtf8(es.name), u"es_MX"},
      {"es-MX Sunday", es.day_names[0], u"domingo"},
      {"es-MX Wednesday", es.day_names[3], u"miércoles"},
      {"es-MX March", es.month_names[2], u"marzo"},
      {"es-MX September abbreviated", es.month_abbrevs[8], u"sept"},
      {"es-MX long date", es.long_date_pattern, u"EEEE, d 'de' MMMM 'de' yyyy"},
      {"es-MX date separator and number marks",
       {es.date_separator, es.decimal_mark, es.group_mark},
       u"/.,"},
      {"en-US Saturday", en.day_names[6], u"Saturday"},
      {"en-US long date", en.long_date_pattern, u"EEEE, MMMM d, yyyy"},
      {"en-US before noon", en.am, u"AM"},
      {"de-DE date separator and number marks",
       {de.date_separator, de.decimal_mark, de.group_mark},
       u".,."},
      // The user's locale is the one run.sh fixes.
      {"the user's locale", FromUtf8(NlsLocaleData().name), u"es_MX"},
  };
  for (const Row& row : rows) CheckText(row.actual, row.expected, row.what);
  Check(es.spanish && !en.spanish, "es-MX is Spanish, en-US is not");
  Check(es.date_order == DateOrder::kDayMonthYear && en.date_order == DateOrder::kMonthDayYear &&
            de.date_order == DateOrder::kDayMonthYear,
        "the date orders of es-MX, en-US and de-DE");
}

void Values() {
  const LocaleData loc = SpanishMexico();
  auto round_trip = [](const Variant& v) {
    VARIANT x;
    ToVariant(v, &x);
    Variant back = FromVariant(x);
    VariantClear(&x);
    return back;
  };
  for (const Variant& v :
       {Variant(), Variant::Null(), Variant::Missing(), Variant(std::uint8_t{200}),
        Variant(std::int16_t{-5}), Variant(std::int32_t{70000}),
        Variant(Currency::FromScaled(-123456789)), Variant(2.5), Variant(Date{39887.75}),
        Variant(u"año"), Variant(true), Variant(false)}) {
    Check(round_trip(v) == v, std::string("round trip of a ") + TypeName(v.type()));
  }

  VARIANT x;
  VariantInit(&x);
  V_VT(&x) = VT_UI4;
  V_UI4(&x) = 4000000000u;
  Check(FromVariant(x) == Variant(4000000000.0), "an unsigned beyond 32 bits is a double");
  V_VT(&x) = VT_ERROR;
  V_ERROR(&x) = DISP_E_TYPEMISMATCH;
  Check(ErrorOf([&] { FromVariant(x); }) == 13, "an error value other than missing is 13");

  // Storing through a by-reference VARIANT converts to the variable's type.
  SHORT s = 0;
  VARIANT ref;
  V_VT(&ref) = VT_BYREF | VT_I2;
  V_I2REF(&ref) = &s;
  StoreByRef(ref, Variant(u"12"), loc);
  Check(s == 12, "text stored into an Integer variable");
  Check(ErrorOf([&] { StoreByRef(ref, Variant(std::int32_t{40000}), loc); }) == 6,
        "a Long past 16 bits stored into an Integer variable is 6");
  Check(s == 12, "a failed store leaves the variable");
  BSTR b = SysAllocString(L"antes");
  V_VT(&ref) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&ref) = &b;
  StoreByRef(ref, Variant(std::int16_t{7}), loc);
  CheckText(FromBstr(b), u"7", "a number stored into a String variable");
  SysFreeString(b);
  VARIANT target;
  VariantInit(&target);
  V_VT(&ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&ref) = &target;
  StoreByRef(ref, Variant(Currency::FromScaled(15000)), loc);
  Check(V_VT(&target) == VT_CY && V_CY(&target).int64 == 15000,
        "a Variant variable takes the value as it is");
}

void Queries() {
  // (The directories, the version and the processor reach the scripts: sysinfo.vbs.)
  WindowsSystemQueries sys;
  const auto version = sys.Version();
  Check(version.has_value() && version->platform_id == 2, "version record of the NT family");
  const auto bytes = sys.DiskBytes(u"C:\\");
  Check(bytes.has_value() && bytes->total > 0 && bytes->available <= bytes->total,
        "byte figures of drive C");
  Check(!sys.DiskBytes(u"Q:\\").has_value(), "a drive that is not there");
  const auto clusters = sys.DiskClusters(std::nullopt);
  Check(clusters.has_value() && clusters->bytes_per_sector > 0,
        "cluster figures of the current drive");
  CheckText(sys.ProfileString(u"System.ini", u"boot.description", u"no.such.key", 255), u"",
            "an absent profile entry");
  const MemoryStatus m = sys.Memory();
  Check(m.total_physical > 0 && m.avail_physical <= m.total_physical, "memory figures");
}

void Pictures() {
  // (A bitmap, a JPEG and a file that is no picture reach the scripts: photo.vbs.)
  OlePictureLoader loader;
  CheckNumber(ErrorOf([&] { loader.Load(u"C:\\Ponderix\\Fotos\\NADA.bmp"); }), 481,
              "a missing file");

  WindowsPhotoFiles files;
  const auto listing = files.List(u"C:\\Ponderix\\Fotos");
  Check(listing.has_value() && listing->size() == 3, "the photo folder lists its three files");
  Check(!files.List(u"C:\\No\\Existe").has_value(), "a missing folder cannot be listed");
  const std::u16string path = u"C:\\Ponderix\\Fotos\\NUEVO.jpg";
  const std::uint8_t first[] = {1, 2, 3};
  const std::uint8_t second[] = {9};
  files.ReplaceFile(path, first);
  files.ReplaceFile(path, second);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(L"C:\\Ponderix\\Fotos\\NUEVO.jpg", GetFileExInfoStandard, &data);
  Check(data.nFileSizeLow == 1, "a replaced file holds the new bytes only");
  DeleteFileW(L"C:\\Ponderix\\Fotos\\NUEVO.jpg");
  Check(ErrorOf([&] { files.ReplaceFile(u"C:\\No\\Existe\\X.jpg", first); }) == 75,
        "a file that cannot be written is 75");

  // A name as long as a folder takes (255 characters) is written through a temporary file of a
  // short name of its own, and ends as an ordinary visible file, with nothing left beside it.
  CreateDirectoryW(L"C:\\Largos", nullptr);
  const std::u16string longest = u"C:\\Largos\\" + std::u16string(251, u'L') + u".jpg";
  Check(ErrorOf([&] { files.ReplaceFile(longest, first); }) == 0,
        "a name of 255 characters is written");
  const auto written = files.List(u"C:\\Largos");
  Check(written.has_value() && written->size() == 1 &&
            written->front().name == longest.substr(10) && !written->front().hidden,
        "the photo alone is in its folder, and not hidden");
  DeleteFileW(Wide(longest));
  RemoveDirectoryW(L"C:\\Largos");
}

// What the headers of a bitmap file say: "BM", its size, width x height and bits per pixel.
std::string Describe(const std::vector<std::uint8_t>& file) {
  BITMAPFILEHEADER head{};
  BITMAPINFOHEADER info{};
  if (file.size() < sizeof head + sizeof info) return "too short";
  std::memcpy(&head, file.data(), sizeof head);
  std::memcpy(&info, file.data() + sizeof head, sizeof info);
  return std::string(head.bfType == 0x4D42 ? "BM" : "??") +
         (head.bfSize == file.size() ? "" : " (wrong size)") + ", " + std::to_string(info.biWidth) +
         " x " + std::to_string(info.biHeight) + ", " + std::to_string(info.biBitCount) + " bits";
}

void PhotoServices() {
  // Pictures written back as bitmap files, whatever they were read from.
  OlePictureLoader loader;
  GdiBitmapEncoder encoder;
  const std::pair<const char16_t*, const char*> pictures[] = {
      {u"C:\\Ponderix\\Fotos\\JUAN.BMP", "BM, 1 x 1, 24 bits"},
      {u"C:\\Ponderix\\Fotos\\ANA.jpg", "BM, 3 x 2, 24 bits"},
  };
  for (const auto& [path, shape] : pictures)
    CheckText(Describe(encoder.BitmapFile(loader.Load(path))), shape, Narrow(path));
  // JUAN.BMP's one pixel is blue (blue, green and red in that order in the file).
  const std::vector<std::uint8_t> juan = encoder.BitmapFile(loader.Load(pictures[0].first));
  Check(juan.size() >= 57 && juan[54] == 0xff && juan[55] == 0 && juan[56] == 0,
        "the pixel survives the round trip");
  Check(ErrorOf([&] { encoder.BitmapFile(nullptr); }) == 481, "no picture to write is 481");

  // Device-independent pixels of a camera frame as a picture: a 2 x 1 frame of 24 bits.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  const std::uint8_t row[8] = {1, 2, 3, 4, 5, 6, 0, 0};
  const ObjectRef frame = PictureFromDib(info, row, sizeof row);
  Check(BitmapOf(frame) != nullptr, "a frame of plain pixels becomes a picture");
  const std::vector<std::uint8_t> frame_file = encoder.BitmapFile(frame);
  Check(frame_file.size() == 62 && frame_file[54] == 1 && frame_file[59] == 6,
        "the frame's pixels are written as they came");
  Check(PictureFromDib(info, row, 4) == nullptr, "a frame shorter than its rows is no picture");
  info.bmiHeader.biCompression = BI_JPEG;
  Check(PictureFromDib(info, row, sizeof row) == nullptr, "a compressed frame is no picture here");

  // No camera under Wine: every step is silent and there is never a frame.
  VfwCamera camera;
  camera.Connect();
  Check(camera.Grab() == nullptr, "no frame before the form exists");
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
  camera.SetOwner(owner);
  Check(camera.Grab() == nullptr, "no frame without a camera");
  camera.SetOwner(nullptr);
  DestroyWindow(owner);
  camera.Release();
  Check(camera.capture_window() == nullptr, "the capture window goes with the release");

  // Unattended, the dialog is answered as cancelled without being shown.
  CheckText(Win32FileDialog().OpenFile(u"Busca", u"Fotografías |*.Jpg;*.Bmp", u""), u"",
            "an unattended open-file dialog is cancelled");
}

void Dialogs() {
  // run.sh sets VELMORA_UNATTENDED: the box answers at once with the button that lets nothing
  // happen (the boxes go to standard error, which run.sh shows).
  DialogMessageBox box;
  const std::pair<MsgButtons, MsgResult> answers[] = {
      {MsgButtons::kYesNo, MsgResult::kNo},
      {MsgButtons::kRetryCancel, MsgResult::kCancel},
      {MsgButtons::kAbortRetryIgnore, MsgResult::kAbort},
  };
  for (const auto& [buttons, answer] : answers) {
    CheckNumber(static_cast<int>(box.Show(u"texto", u"Título", MsgIcon::kQuestion, buttons)),
                static_cast<int>(answer),
                "an unattended box of buttons " + std::to_string(static_cast<int>(buttons)));
  }
  MessagePump pump;
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  pump.ProcessPending();
  MSG msg;
  Check(!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE), "pending messages are run");

  const Date now = LocalClock().Now();
  SYSTEMTIME t{};
  GetLocalTime(&t);
  Check(static_cast<long>(now.serial) ==
            static_cast<long>(SerialFromCivil({t.wYear, t.wMonth, t.wDay})),
        "the clock is on today's date");
}

}  // namespace

int wmain() {
  CoInitialize(nullptr);
  Patterns();
  Locales();
  Values();
  Queries();
  Pictures();
  PhotoServices();
  Dialogs();
  CoUninitialize();
  return Summary("platform");
}
