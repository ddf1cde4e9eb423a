#include "win32/win32_services.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/utf.h"
#include "win32/ole_values.h"
#include "win32/win32_photo.h"
#include "win32/win_api.h"

namespace velmora::win32 {

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string FromWide(const wchar_t* text, std::size_t size) {
  return {reinterpret_cast<const char16_t*>(text), size};
}

// The system's ANSI texts (the "A" functions of the family) and the library's.
std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  const int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::u16string FromAnsi(const char* text, std::size_t size) {
  if (size == 0) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), out.data(), n);
  return FromWide(out.data(), out.size());
}

std::u16string FromAnsi(const char* text) {
  return FromAnsi(text, std::char_traits<char>::length(text));
}

// One NLS value of the locale; empty when NLS has none.
std::u16string LocaleInfo(const wchar_t* locale, LCTYPE type) {
  std::array<wchar_t, 256> buffer{};
  const int n = GetLocaleInfoEx(locale, type, buffer.data(), static_cast<int>(buffer.size()));
  if (n <= 1) return {};
  return FromWide(buffer.data(), static_cast<std::size_t>(n - 1));
}

// Order of the date fields in an NLS short date and the character between the first two:
// "d/M/yyyy" -> "dMy" and '/'.
std::u16string FieldOrder(std::u16string_view format, char16_t& separator) {
  std::u16string order;
  bool quoted = false;
  bool separator_found = false;
  for (char16_t c : format) {
    if (c == u'\'') {
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    if (c == u'd' || c == u'M' || c == u'y') {
      if (order.find(c) == std::u16string::npos) order.push_back(c);
    } else if (!order.empty() && !separator_found && c != u' ' && c != u'g') {
      separator = c;
      separator_found = true;
    }
  }
  return order;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The letters of an NLS date format.
bool IsNlsField(char16_t c) { return c == u'd' || c == u'M' || c == u'y' || c == u'g'; }

}  // namespace

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

bool UnattendedMode() {
  std::array<wchar_t, 16> value{};
  const DWORD n = GetEnvironmentVariableW(L"VELMORA_UNATTENDED", value.data(),
                                          static_cast<DWORD>(value.size()));
  if (n == 0) return false;  // unset or empty
  return !(n == 1 && value[0] == L'0');
}

namespace {

// Unattended boxes are reported exactly as the console boxes of the Linux build report them, so
// that a batch run reads the same on both systems.

// "== title (icon) ==", the text with its line breaks, the buttons, and the choice made.
std::u16string DescribeUnattended(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                                  MsgButtons buttons, MsgResult chosen) {
  return DescribeBox(text, title, icon, buttons) + u"(desatendido, se elige: " +
         std::u16string(ButtonLabel(chosen)) + u")";
}

UINT IconFlag(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::kNone: return 0;
    case MsgIcon::kCritical: return MB_ICONHAND;
    case MsgIcon::kQuestion: return MB_ICONQUESTION;
    case MsgIcon::kExclamation: return MB_ICONEXCLAMATION;
    case MsgIcon::kInformation: return MB_ICONASTERISK;
  }
  return 0;
}

}  // namespace

std::u16string PatternFromNls(std::u16string_view f) {
  std::u16string out;
  std::size_t i = 0;
  while (i < f.size()) {
    const char16_t c = f[i];
    if (c == u'\'') {
      // Quoted text (with '' for a quote) means the same in both syntaxes.
      std::size_t j = i + 1;
      while (j < f.size()) {
        if (f[j] == u'\'') {
          if (j + 1 < f.size() && f[j + 1] == u'\'') {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      out.append(f.substr(i, std::min(j + 1, f.size()) - i));
      if (j >= f.size()) out.push_back(u'\'');  // an unterminated quote runs to the end
      i = j + 1;
      continue;
    }
    if (!IsAsciiLetter(c)) {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t n = 1;
    while (i + n < f.size() && f[i + n] == c) ++n;
    switch (c) {
      case u'd':
        // d, dd: the day; ddd, dddd: the day's abbreviated and full name.
        out += n == 1 ? u"d" : n == 2 ? u"dd" : n == 3 ? u"EEE" : u"EEEE";
        break;
      case u'M': out += n == 1 ? u"M" : n == 2 ? u"MM" : n == 3 ? u"MMM" : u"MMMM"; break;
      case u'y':
        // NLS y and yy both give two digits here; yyy and longer the four-digit year.
        out += n <= 2 ? u"yy" : u"yyyy";
        break;
      case u'g': out += u"G"; break;
      default: {
        // A run of letters NLS does not format is one quoted text (two quoted texts side by
        // side would read as one with a quote in it).
        while (i + n < f.size() && IsAsciiLetter(f[i + n]) && !IsNlsField(f[i + n])) ++n;
        out.push_back(u'\'');
        out.append(f.substr(i, n));
        out.push_back(u'\'');
        break;
      }
    }
    i += n;
  }
  return out;
}

LocaleData NlsLocaleData(const std::u16string& name) {
  const wchar_t* locale = name.empty() ? LOCALE_NAME_USER_DEFAULT : Wide(name);
  const std::u16string language = LocaleInfo(locale, LOCALE_SISO639LANGNAME);
  LocaleData d = language == u"es" ? SpanishMexico() : EnglishUnitedStates();
  d.spanish = language == u"es";

  std::u16string full = LocaleInfo(locale, LOCALE_SNAME);
  if (!full.empty()) {
    std::string n = ToUtf8(full);
    for (char& ch : n) {
      if (ch == '-') ch = '_';
    }
    d.name = n;
  }

  const std::u16string decimal = LocaleInfo(locale, LOCALE_SDECIMAL);
  const std::u16string group = LocaleInfo(locale, LOCALE_STHOUSAND);
  if (decimal.size() == 1) d.decimal_mark = decimal[0];
  if (group.size() == 1) d.group_mark = group[0];

  // NLS counts the days from Monday (LOCALE_SDAYNAME1) to Sunday (LOCALE_SDAYNAME7).
  for (int i = 0; i < 7; ++i) {
    const int nls = i == 0 ? 6 : i - 1;
    if (auto s = LocaleInfo(locale, LOCALE_SDAYNAME1 + nls); !s.empty()) d.day_names[i] = s;
    if (auto s = LocaleInfo(locale, LOCALE_SABBREVDAYNAME1 + nls); !s.empty()) d.day_abbrevs[i] = s;
  }
  for (int i = 0; i < 12; ++i) {
    if (auto s = LocaleInfo(locale, LOCALE_SMONTHNAME1 + i); !s.empty()) d.month_names[i] = s;
    if (auto s = LocaleInfo(locale, LOCALE_SABBREVMONTHNAME1 + i); !s.empty())
      d.month_abbrevs[i] = s;
  }
  if (auto s = LocaleInfo(locale, LOCALE_S1159); !s.empty()) d.am = s;
  if (auto s = LocaleInfo(locale, LOCALE_S2359); !s.empty()) d.pm = s;

  if (auto s = LocaleInfo(locale, LOCALE_SLONGDATE); !s.empty())
    d.long_date_pattern = PatternFromNls(s);
  if (auto s = LocaleInfo(locale, LOCALE_SSHORTDATE); !s.empty()) {
    const std::u16string order = FieldOrder(s, d.date_separator);
    if (order.rfind(u"yMd", 0) == 0) d.date_order = DateOrder::kYearMonthDay;
    else if (order.rfind(u"Md", 0) == 0) d.date_order = DateOrder::kMonthDayYear;
    else d.date_order = DateOrder::kDayMonthYear;
  }
  return d;
}

Date LocalClock::Now() const {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return MakeDate({t.wYear, t.wMonth, t.wDay}, {t.wHour, t.wMinute, t.wSecond});
}

MsgResult DialogMessageBox::Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                                 MsgButtons buttons) {
  if (UnattendedMode()) {
    const MsgResult chosen = DefaultButton(buttons);
    WriteStandardError(DescribeUnattended(text, title, icon, buttons, chosen));
    return chosen;
  }
  const std::u16string t(text);
  const std::u16string c(title);
  const UINT flags = static_cast<UINT>(buttons) | IconFlag(icon) | MB_TASKMODAL | MB_SETFOREGROUND;
  const int answer = MessageBoxW(GetActiveWindow(), Wide(t), Wide(c), flags);
  if (answer == 0) {
    throw Error(err::kInvalidCall, u"No hay pantalla disponible para mostrar el mensaje");
  }
  return static_cast<MsgResult>(answer);
}

void MessagePump::ProcessPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit request belongs to the host's own loop: put it back and stop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

ObjectRef OlePictureLoader::Load(const std::u16string& path) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Error(err::kInvalidPicture);
  std::vector<char> bytes;
  std::array<char, 65536> chunk{};
  DWORD got = 0;
  while (ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) && got > 0)
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
  CloseHandle(file);
  if (bytes.empty()) throw Error(err::kInvalidPicture);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) throw std::bad_alloc();
  void* p = GlobalLock(memory);
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(p));
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    throw std::bad_alloc();
  }
  IPictureDisp* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE,
                                    IID_IPictureDisp, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || picture == nullptr) throw Error(err::kInvalidPicture);
  return std::make_shared<OlePicture>(picture);
}

std::optional<std::vector<DirEntry>> WindowsPhotoFiles::List(const std::u16string& folder) {
  std::u16string pattern = folder;
  if (!pattern.empty() && pattern.back() != u'\\' && pattern.back() != u'/') pattern += u'\\';
  pattern += u'*';
  WIN32_FIND_DATAW found{};
  HANDLE h = FindFirstFileW(Wide(pattern), &found);
  if (h == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<DirEntry>{};
    return std::nullopt;
  }
  std::vector<DirEntry> out;
  do {
    const std::u16string n = FromWide(found.cFileName, std::wcslen(found.cFileName));
    if (n == u"." || n == u"..") continue;
    DirEntry e;
    e.name = n;
    e.kind = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder
                                                                      : EntryKind::kFile;
    e.hidden = (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    out.push_back(std::move(e));
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return out;
}

void WindowsPhotoFiles::ReplaceFile(const std::u16string& path,
                                    std::span<const std::uint8_t> bytes) {
  constexpr int kPathAccess = 75;
  const Error failure(kPathAccess, u"No se pudo guardar el archivo " + path);
  // Written beside the target first, then moved over it: the old file stays whole on failure.
  // The temporary file has a short name of its own (a fixed prefix and a number, 12 characters)
  // so that any name the folder can hold can be written through it, and it is hidden while it
  // is written, so a search never matches a half-written photo.
  const std::size_t cut = path.find_last_of(u"\\/");
  const std::u16string folder = cut == std::u16string::npos ? u"" : path.substr(0, cut + 1);
  static std::atomic<std::uint32_t> serial{GetCurrentProcessId() * 2654435761u};
  std::u16string temp;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    const std::uint32_t n = serial.fetch_add(1);
    temp = folder + u"~VM";
    for (int shift = 16; shift >= 0; shift -= 4) temp += u"0123456789ABCDEF"[(n >> shift) & 0xF];
    temp += u".tmp";
    h = CreateFileW(Wide(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN,
                    nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      throw failure;
    }
  }
  if (h == INVALID_HANDLE_VALUE) throw failure;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  // The photo itself is an ordinary visible file, whatever the temporary one was.
  if (!ok || written != bytes.size() || !SetFileAttributesW(Wide(temp), FILE_ATTRIBUTE_NORMAL) ||
      !MoveFileExW(Wide(temp), Wide(path), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(Wide(temp));
    throw failure;
  }
}

std::optional<VersionRecord> WindowsSystemQueries::Version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  if (!GetVersionExA(&info)) return std::nullopt;
  VersionRecord r;
  r.major = static_cast<std::int32_t>(info.dwMajorVersion);
  r.minor = static_cast<std::int32_t>(info.dwMinorVersion);
  r.platform_id = static_cast<std::int32_t>(info.dwPlatformId);
  r.build = static_cast<std::int32_t>(info.dwBuildNumber);
  r.service_pack = FromAnsi(info.szCSDVersion);
  return r;
}

ProcessorRecord WindowsSystemQueries::Processor() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  ProcessorRecord r;
  r.count = static_cast<std::int32_t>(info.dwNumberOfProcessors);
  r.type = static_cast<std::int32_t>(info.dwProcessorType);
  // The record's last word: level in the low half, revision in the high half, read signed.
  const std::uint32_t word = static_cast<std::uint32_t>(info.wProcessorLevel) |
                             (static_cast<std::uint32_t>(info.wProcessorRevision) << 16);
  r.level_revision = static_cast<std::int32_t>(word);
  return r;
}

std::u16string WindowsSystemQueries::WindowsDirectory() {
  std::array<char, 255> buffer{};
  const UINT n = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
  if (n == 0 || n >= buffer.size()) return {};
  return FromAnsi(buffer.data(), n);
}

std::u16string WindowsSystemQueries::SystemDirectory() {
  std::array<char, 255> buffer{};
  const UINT n = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
  if (n == 0 || n >= buffer.size()) return {};
  return FromAnsi(buffer.data(), n);
}

std::u16string WindowsSystemQueries::ProfileString(std::u16string_view file,
                                                   std::u16string_view section,
                                                   std::u16string_view key, std::size_t size) {
  if (size == 0) return {};
  std::vector<char> buffer(size, '\0');
  const std::string f = ToAnsi(file);
  const std::string s = ToAnsi(section);
  const std::string k = ToAnsi(key);
  const DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), "", buffer.data(),
                                           static_cast<DWORD>(size), f.c_str());
  return FromAnsi(buffer.data(), std::min<std::size_t>(n, size - 1));
}

std::optional<ClusterFigures> WindowsSystemQueries::DiskClusters(
    std::optional<std::u16string_view> root) {
  DWORD sectors = 0;
  DWORD bytes = 0;
  DWORD free_clusters = 0;
  DWORD total_clusters = 0;
  const std::string r = root ? ToAnsi(*root) : std::string();
  if (!GetDiskFreeSpaceA(root ? r.c_str() : nullptr, &sectors, &bytes, &free_clusters,
                         &total_clusters)) {
    return std::nullopt;
  }
  return ClusterFigures{static_cast<std::int32_t>(sectors), static_cast<std::int32_t>(bytes),
                        free_clusters, total_clusters};
}

std::optional<DriveBytes> WindowsSystemQueries::DiskBytes(std::u16string_view root) {
  ULARGE_INTEGER available{};
  ULARGE_INTEGER total{};
  ULARGE_INTEGER total_free{};
  const std::string r = ToAnsi(root);
  if (!GetDiskFreeSpaceExA(r.c_str(), &available, &total, &total_free)) return std::nullopt;
  return DriveBytes{available.QuadPart, total.QuadPart, total_free.QuadPart};
}

MemoryStatus WindowsSystemQueries::Memory() {
  MEMORYSTATUSEX m{};
  m.dwLength = sizeof m;
  MemoryStatus s;
  if (!GlobalMemoryStatusEx(&m)) return s;
  s.load = m.dwMemoryLoad;
  s.total_physical = m.ullTotalPhys;
  s.avail_physical = m.ullAvailPhys;
  s.total_page_file = m.ullTotalPageFile;
  s.avail_page_file = m.ullAvailPageFile;
  s.total_virtual = m.ullTotalVirtual;
  s.avail_virtual = m.ullAvailVirtual;
  return s;
}

bool WindowsSystemQueries::EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES wanted{};
  TOKEN_PRIVILEGES previous{};
  static_assert(sizeof(TOKEN_PRIVILEGES) == 16);  // count + one LUID_AND_ATTRIBUTES
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &wanted.Privileges[0].Luid);
  wanted.PrivilegeCount = 1;
  wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  DWORD length = 0;
  const BOOL ok = AdjustTokenPrivileges(token, FALSE, &wanted, sizeof previous, &previous, &length);
  CloseHandle(token);
  return ok != FALSE;
}

bool WindowsSystemQueries::RequestRestart() { return ExitWindowsEx(EWX_REBOOT, 0) != FALSE; }

std::shared_ptr<Services> Win32Services() {
  auto s = std::make_shared<Services>();
  s->clock = std::make_shared<LocalClock>();
  s->locale = NlsLocaleData();
  s->message_box = std::make_shared<DialogMessageBox>();
  s->events = std::make_shared<MessagePump>();
  s->pictures = std::make_shared<OlePictureLoader>();
  s->photo_files = std::make_shared<WindowsPhotoFiles>();
  s->bitmaps = std::make_shared<GdiBitmapEncoder>();
  s->camera = std::make_shared<VfwCamera>();
  s->file_dialog = std::make_shared<Win32FileDialog>();
  s->system = std::make_shared<WindowsSystemQueries>();
  return s;
}

}  // namespace velmora::win32
