// System information: what the running machine is (version, processor, directories, memory,
// drives), asked of the platform through SystemQueries and turned into the library's texts.
//
// The public routines are methods of the two classes (see dolva.h):
//   APIs::RebootSystem()   restarts the machine; true when the request was accepted.
//   APIs::WinDir()         the Windows directory with a final separator: "C:\WINDOWS\".
//   APIs::Sys32Dir()       the system directory with a final separator: "C:\WINDOWS\system32\".
//   APIs::SysDir()         WinDir() + "SYSTEM" + separator; only "SYSTEM\" when unknown.
//   APIs::TempDir()        WinDir() + "TEMP" + separator; only "TEMP\" when unknown. A
//                          platform with a temporary folder of its own gives that folder and a
//                          final separator instead (see SystemQueries::TemporaryDirectory).
//   Dolva::WinVer()        "5.1.2600": major, minor and build.
//   Dolva::ProcVer()       "158642": processors, type and level/revision word, no separator.
//   Dolva::SysDirectory()  "C:\WINDOWS\system32", no final separator.
//   Dolva::WinDirectory()  "C:\WINDOWS", no final separator.
//   Dolva::System(bModal, Nuevo)  opens the information window (Nuevo true) or the splash
//                          window (Nuevo false), modally or not; see sysinfo_windows.h.
//
// Operating-system failures never raise: they give platform id 0, empty directories, the
// drive reports' failure texts with zero drive figures, and "Activo" for a missing System.ini
// entry. Only arithmetic raises: 6 when the 32-bit products of ColorCount and of the drive
// reports leave their range.
//
// What the Linux backend (platform/linux/linux_sysinfo.h) answers for each question:
//   version             the kernel release "6.1.0-18-amd64" read as major 6, minor 1, build 0;
//                       platform id 2 (a protected multi-user system whose restart needs a
//                       privilege); the update text is the rest of the release, "18-amd64".
//   processor           from /proc/cpuinfo: the count of "processor" entries; the type 386 or
//                       486 for x86 families 3 and 4 and 586 from family 5 on (what a 32-bit
//                       program is told on a modern machine); the level/revision word holds
//                       the family in its low half and model x 256 + stepping in its high half.
//                       Another architecture answers type 0 and word 0.
//   machine names       the information window's "Sistema Op.:" is PRETTY_NAME of
//                       /etc/os-release ("Debian GNU/Linux 12 (bookworm)"), "Plataforma:" the
//                       kernel and its release ("Linux 6.1.0-18-amd64"), "Tipo de CPU:" the
//                       processor's "model name" in /proc/cpuinfo (the machine, "aarch64",
//                       where it gives none).
//   Windows directory   /etc, the home of the system's own configuration (System.ini there);
//   system directory    /usr/lib, the system's shared libraries.
//   temporary folder    $TMPDIR when it names a folder, else /tmp: TempDir is "/tmp/".
//   paths               "/" stands where Windows writes "\"; a file is found whatever the case
//                       of its name ("system.ini" answers for "System.ini"), as on Windows.
//   drives              no letter: the filesystem of the current directory; C: the root
//                       filesystem; D:, E:, ...: the further block-device filesystems in the
//                       order of /proc/self/mounts (each device once; loop devices and /boot
//                       left out). A letter with no filesystem fails. Figures from statvfs:
//                       clusters are fragments (f_frsize bytes, one "sector" each), free
//                       clusters are those available to the user (f_bavail).
//   memory              /proc/meminfo (sysinfo(2) when unreadable), in 64-bit byte counts:
//                       physical = MemTotal and MemAvailable; page file = SwapTotal and
//                       SwapFree; virtual = their sums; the load is the share of RAM in use.
//   restart             systemd-logind over the system D-Bus: the privilege step asks CanReboot
//                       ("yes" or "challenge" pass), the request is Reboot without interaction.
//                       Refused or unreachable: false. Never reboot(2).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "velmora/currency.h"
#include "velmora/error.h"
#include "velmora/host.h"
#include "velmora/locale.h"
#include "velmora/variant.h"

namespace velmora {

// ---------------------------------------------------------------------------------------------
// What the platform answers.

// The platform's version record.
struct VersionRecord {
  std::int32_t major = 0;
  std::int32_t minor = 0;
  std::int32_t platform_id = 0;  // 0 16-bit Windows, 1 the 9x family, 2 the NT family
  std::int32_t build = 0;        // delivered whole (on 9x its high half repeats major, minor)
  std::u16string service_pack;   // the update installed, "Service Pack 2"; at most 127 chars
};

// The three figures of the processor record the library reads.
struct ProcessorRecord {
  std::int32_t count = 0;  // number of processors
  std::int32_t type = 0;   // 386, 486, 586...
  // Level in the low 16 bits, revision in the high 16 bits, read as one signed number.
  std::int32_t level_revision = 0;
};

// A drive's figures as the cluster query answers them.
struct ClusterFigures {
  std::int32_t sectors_per_cluster = 0;
  std::int32_t bytes_per_sector = 0;
  std::uint64_t free_clusters = 0;  // available to the caller
  std::uint64_t total_clusters = 0;
};

// A drive's figures as the byte query answers them.
struct DriveBytes {
  std::uint64_t available = 0;  // free bytes the caller may use
  std::uint64_t total = 0;
  std::uint64_t total_free = 0;
};

// How a platform names the machine where its own words are truer than the Windows texts of the
// information window. An empty member keeps the Windows text.
struct MachineNames {
  std::u16string system;     // "Sistema Op.:", e.g. "Debian GNU/Linux 12 (bookworm)"
  std::u16string platform;   // "Plataforma:", e.g. "Linux 6.1.0-18-amd64"
  std::u16string processor;  // "Tipo de CPU:", e.g. "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz"
};

// The memory status, in bytes. Full 64-bit figures: 2 GB and more are shown as they are.
struct MemoryStatus {
  std::uint32_t load = 0;  // [0, 100] percent of physical memory in use
  std::uint64_t total_physical = 0;
  std::uint64_t avail_physical = 0;
  std::uint64_t total_page_file = 0;
  std::uint64_t avail_page_file = 0;
  std::uint64_t total_virtual = 0;
  std::uint64_t avail_virtual = 0;
};

// The operating system's answers, one member per platform operation the family uses. A backend
// answers what it can and reports failure as the member says; it never throws.
class SystemQueries {
 public:
  virtual ~SystemQueries() = default;

  // The version record; nullopt when the query fails.
  virtual std::optional<VersionRecord> Version() = 0;
  virtual ProcessorRecord Processor() = 0;
  // The Windows and system directories without a final separator; empty on failure.
  virtual std::u16string WindowsDirectory() = 0;
  virtual std::u16string SystemDirectory() = 0;
  // The separator of the platform's paths: '\\' on Windows, '/' on Linux.
  virtual char16_t PathSeparator() const = 0;
  // The value of an entry of a profile file that lives in the Windows directory, at most
  // `size` - 1 characters; empty when the file, the section or the key is not there.
  virtual std::u16string ProfileString(std::u16string_view file, std::u16string_view section,
                                       std::u16string_view key, std::size_t size) = 0;
  // The cluster figures of the drive whose root is given ("C:"), of the current directory's
  // drive without one; nullopt when the query fails.
  virtual std::optional<ClusterFigures> DiskClusters(std::optional<std::u16string_view> root) = 0;
  // The byte figures of a drive's root ("C:\"); nullopt when the query fails.
  virtual std::optional<DriveBytes> DiskBytes(std::u16string_view root) = 0;
  virtual MemoryStatus Memory() = 0;
  // The privilege a restart needs, enabled for this process; false when refused.
  virtual bool EnableShutdownPrivilege() = 0;
  // Asks the system to restart; true when the request was accepted.
  virtual bool RequestRestart() = 0;

  // What differs from Windows, answered only by a platform that is not Windows.
  // The machine's own names for the information window; none by default, where the window
  // shows the Windows texts ("Windows", "Windows XP ó NT", the type code 586).
  virtual MachineNames Names() { return {}; }
  // The process's folder for temporary files, without a final separator, where the platform
  // keeps one apart from the Windows directory; empty by default, where APIs::TempDir is the
  // Windows directory's TEMP.
  virtual std::u16string TemporaryDirectory() { return {}; }
};

// ---------------------------------------------------------------------------------------------
// The family's module operations. Each takes the queries it asks; `loc` gives the marks of the
// formatted numbers.

// The platform id, 0 when the version query fails.
std::int32_t PlatformId(SystemQueries& sys);
// Whether the platform id has the bit of value 2 (the NT family): true for 2 and 3.
bool IsWinNT(SystemQueries& sys);
// The version record; all zero when the query fails.
VersionRecord QueryVersionRecord(SystemQueries& sys);
// "5.1.2600".
std::u16string VersionText(SystemQueries& sys);
// Count, type and level/revision word run together: 1, 586, 42 -> "158642".
std::u16string ProcessorText(SystemQueries& sys);
// The directories with a final separator ("C:\WINDOWS\"), empty text on failure.
std::u16string WindowsDir(SystemQueries& sys);
std::u16string SystemDir(SystemQueries& sys);
// The directories as the platform wrote them ("C:\WINDOWS"), empty text on failure.
std::u16string WindowsDirPlain(SystemQueries& sys);
std::u16string SystemDirPlain(SystemQueries& sys);
// The part before the first NUL: StripNull(u"C:\\WIN\0\0") == u"C:\\WIN".
std::u16string StripNull(std::u16string_view text);
// Trailing blanks removed, then the separator appended unless the text ends in "/" or "\":
// AddSlash(u"C:\\WINDOWS  ", u'\\') == u"C:\\WINDOWS\\"; AddSlash(u"", u'/') == u"/".
void AddSlash(std::u16string& text, char16_t separator);
// 2 raised to planes x bits, in single precision: ColorCount(1, 32) == 4294967296. 6 when the
// product leaves the 32-bit range or the power leaves single precision.
float ColorCount(std::int32_t planes, std::int32_t bits_per_pixel);
// An entry of System.ini, "Activo" when absent or empty:
// BootDescription(sys, u"boot.description", u"mouse.drv") == u"Microsoft PS/2 Mouse".
std::u16string BootDescription(SystemQueries& sys, const Variant& section, const Variant& key,
                               const LocaleData& loc);
// The drive reports. `drive` is a letter ("C"), or missing for the current directory's drive.
// DiskTotalText of 40 007 729 152 bytes == "39.74 Gb.   (40,007,729,152 Bytes)."
// DiskFreeText of 500 000 000 bytes     == "476.84 Mb. Libres  (500,000,000 Bytes)."
// A failed query gives "Disco: E:, Falló." (total) or "Disco: E:, Fallo." (free). Either sets
// the drive figures below.
std::u16string DiskTotalText(SystemQueries& sys, const Variant& drive, const LocaleData& loc);
std::u16string DiskFreeText(SystemQueries& sys, const Variant& drive, const LocaleData& loc);
// The total and free bytes of the drive last reported on this thread; 0 before any report and
// after a failed one.
Currency DiskTotal();
Currency DiskFree();
// A byte count in the largest fitting unit, one decimal at most (ties to even):
// SizeText(1536) == "1.5 Kb."; SizeText(1024) == "1024 Bytes"; SizeText(2359296) == "2.2 Mb.".
// The exact powers 2^20, 2^30 and 2^40 take the larger unit: SizeText(2^20) == "1 Mb.". The
// count is taken as a double so that drives past the currency range (2^50 and more, "Pb.")
// are written too; a currency count converts exactly.
std::u16string SizeText(double bytes, const LocaleData& loc);
inline std::u16string SizeText(Currency bytes, const LocaleData& loc) {
  return SizeText(bytes.ToDouble(), loc);
}

// The height effect the library's windows run when they open or close (the stepping of Efx):
// heights min, min + 5, ... up to max (grow) or max, max - 5, ... down to min, each handed to
// `set_height`, with pending window events run after each. Nothing when min > max; 6 when the
// step after the last height leaves the 16-bit range (after the heights before it were set).
// HeightEffect(1000, 1012, true, f, e) sets 1000, 1005, 1010.
void HeightEffect(std::int16_t min, std::int16_t max, bool grow,
                  const std::function<void(std::int16_t)>& set_height, EventPump* events);

// ---------------------------------------------------------------------------------------------
// Profile files (System.ini), read as the platform's profile functions read them.

// The value of `key` in `[section]` of a profile file's bytes: section and key names ignore
// case and surrounding blanks, the first matching section and the first matching key in it
// win, the value loses its surrounding blanks and one pair of enclosing quotes, and lines
// starting with ";" are comments. The bytes are UTF-8 when they decode as such and
// Windows-1252 otherwise. nullopt when the section or the key is not there.
std::optional<std::u16string> ProfileEntry(std::string_view file_bytes, std::u16string_view section,
                                           std::u16string_view key);
// The entry of a file in `directory`, the file found whatever the case of its name; empty when
// the file, section or key is not there, cut to `size` - 1 characters.
std::u16string ProfileFileString(const std::filesystem::path& directory, std::u16string_view file,
                                 std::u16string_view section, std::u16string_view key,
                                 std::size_t size);
// The entry of `directory` named `name` ignoring case, settled as FindByName settles it (the
// exact spelling, else the first listed); nullopt when none.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& directory,
                                                      std::u16string_view name);

// ---------------------------------------------------------------------------------------------
// The windows of the family, as a forms runtime provides them (Qt6 on Linux).

// Shows the information window and the splash window. Each is one instance per thread, loaded
// on first use and unloaded when it closes; showing a loaded window does not load it again.
class SystemWindows {
 public:
  virtual ~SystemWindows() = default;
  // Shows the information window; a modal call returns when it has closed.
  virtual void ShowPcInfo(bool modal) = 0;
  // Shows the splash window; a modal call returns when it has closed.
  virtual void ShowSplash(bool modal) = 0;
  // Whether one of the windows is open.
  virtual bool AnyOpen() const = 0;
  // Runs window events until no window of the family is open (a host without an event loop of
  // its own calls it after a non-modal System).
  virtual void WaitWhileOpen() = 0;
};

// The error of a call that must show a window where no display is available (5).
Error NoDisplayError();

}  // namespace velmora
