#include "win32/system_queries.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "win32/wide.h"
#include "win32/win_api.h"

namespace velmora::win32 {

namespace {

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

}  // namespace

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

}  // namespace velmora::win32
