// The Linux answers to the system queries (see velmora/sysinfo.h for the mapping of each).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "velmora/sysinfo.h"

namespace velmora::linux_platform {

// Where the backend looks. The defaults are the running system's; tests point them at
// directories of their own.
struct SystemPaths {
  std::filesystem::path windows_dir = "/etc";     // System.ini lives here
  std::filesystem::path system_dir = "/usr/lib";  // the system's shared libraries
  std::filesystem::path proc = "/proc";           // cpuinfo, meminfo, self/mounts
  // The system's identification, the first of these that can be read (os-release(5)).
  std::vector<std::filesystem::path> os_release{"/etc/os-release", "/usr/lib/os-release"};
  // The D-Bus address of the bus where systemd-logind answers; empty for the system bus.
  std::string bus_address;
};

class LinuxSystemQueries final : public SystemQueries {
 public:
  explicit LinuxSystemQueries(SystemPaths paths = {}) : paths_(std::move(paths)) {}
  ~LinuxSystemQueries() override;
  LinuxSystemQueries(const LinuxSystemQueries&) = delete;
  LinuxSystemQueries& operator=(const LinuxSystemQueries&) = delete;

  std::optional<VersionRecord> Version() override;
  ProcessorRecord Processor() override;
  std::u16string WindowsDirectory() override;
  std::u16string SystemDirectory() override;
  char16_t PathSeparator() const override { return u'/'; }
  std::u16string ProfileString(std::u16string_view file, std::u16string_view section,
                               std::u16string_view key, std::size_t size) override;
  std::optional<ClusterFigures> DiskClusters(std::optional<std::u16string_view> root) override;
  std::optional<DriveBytes> DiskBytes(std::u16string_view root) override;
  MemoryStatus Memory() override;
  bool EnableShutdownPrivilege() override;
  bool RequestRestart() override;
  MachineNames Names() override;
  // $TMPDIR when it names a folder, else /tmp.
  std::u16string TemporaryDirectory() override;

  // The directory each drive letter stands for, C first: the root filesystem, then the further
  // block-device filesystems of self/mounts (each device once, loop devices and /boot left out).
  std::vector<std::filesystem::path> DriveMountPoints();

 private:
  std::optional<std::filesystem::path> DriveOf(std::u16string_view root, bool with_separator);

  SystemPaths paths_;
  // /proc/meminfo stays open: the splash window reads it on every 1 ms tick, and reading it
  // again from its start costs a fraction of opening it anew.
  int meminfo_fd_ = -1;
};

// A kernel release read as a version: "6.1.0-18-amd64" is 6.1.0 with the update "18-amd64";
// platform id 2. Missing numbers are 0.
VersionRecord ParseKernelRelease(std::string_view release);
// The processor record from the text of /proc/cpuinfo: its "processor" entries counted, the x86
// family's type code and the level/revision word (family | (model << 8 | stepping) << 16).
ProcessorRecord ParseCpuInfo(std::string_view cpuinfo);
// The processor's model as /proc/cpuinfo names it, its blanks run together: the first
// "model name" (x86), else "Processor" (older ARM), "cpu model" (MIPS) or "cpu" (POWER); empty
// when it names none. CpuModelName("model name\t: Intel(R) Xeon(R)  CPU\n") == "Intel(R) Xeon(R)
// CPU".
std::string CpuModelName(std::string_view cpuinfo);
// The system's name in the text of an os-release file: PRETTY_NAME, else NAME, else "Linux",
// its shell quoting undone. OsReleaseName("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n") ==
// "Debian GNU/Linux 12 (bookworm)".
std::string OsReleaseName(std::string_view os_release);
// The memory status from the text of /proc/meminfo; nullopt without a MemTotal line.
std::optional<MemoryStatus> ParseMemInfo(std::string_view meminfo);

}  // namespace velmora::linux_platform
