// The system queries of a Windows process.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "velmora/sysinfo.h"

namespace velmora::win32 {

// The system queries with the Windows calls the family names: GetVersionExA, GetSystemInfo,
// GetWindowsDirectoryA, GetSystemDirectoryA, GetPrivateProfileStringA, GetDiskFreeSpaceA,
// GetDiskFreeSpaceExA, GlobalMemoryStatusEx, the shutdown privilege and ExitWindowsEx.
class WindowsSystemQueries final : public SystemQueries {
 public:
  std::optional<VersionRecord> Version() override;
  ProcessorRecord Processor() override;
  std::u16string WindowsDirectory() override;
  std::u16string SystemDirectory() override;
  char16_t PathSeparator() const override { return u'\\'; }
  std::u16string ProfileString(std::u16string_view file, std::u16string_view section,
                               std::u16string_view key, std::size_t size) override;
  std::optional<ClusterFigures> DiskClusters(std::optional<std::u16string_view> root) override;
  std::optional<DriveBytes> DiskBytes(std::u16string_view root) override;
  MemoryStatus Memory() override;
  bool EnableShutdownPrivilege() override;
  bool RequestRestart() override;
};

}  // namespace velmora::win32
