// The Windows answers to the library's platform services.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "velmora/host.h"
#include "velmora/locale.h"
#include "velmora/photo.h"
#include "velmora/services.h"
#include "velmora/sysinfo.h"

namespace velmora::win32 {

// The locale's names, designators, date forms and number marks from the system's NLS data, for
// a locale name such as u"es-MX"; the user's default locale when the name is empty.
LocaleData NlsLocaleData(const std::u16string& name = {});

// An NLS date format in the pattern syntax of LocaleData::long_date_pattern:
// PatternFromNls(u"dddd, d 'de' MMMM 'de' yyyy") == u"EEEE, d 'de' MMMM 'de' yyyy".
// Quoted text is kept as it is; letters NLS does not format become quoted text.
std::u16string PatternFromNls(std::u16string_view format);

// The local wall clock (GetLocalTime).
class LocalClock final : public Clock {
 public:
  Date Now() const override;
};

// Message boxes of the system (MessageBoxW), owned by the active window of the thread.
//
// Unattended runs: when the environment variable VELMORA_UNATTENDED is set to anything but
// empty or "0", no box is shown; it is written to the standard error as the console boxes of the
// Linux build write it ("== title (icon) ==", the text, "Botones:  1) Aceptar" and
// "(desatendido, se elige: Aceptar)") and answers the button that lets nothing happen (OK, No,
// Cancel or Abort), so scripted hosts and tests never wait for a user.
class DialogMessageBox final : public MessageBox {
 public:
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override;
};

// Whether nobody is to be waited for: the environment variable VELMORA_UNATTENDED is set to
// anything but empty or "0". Read at each use, so a process may change it as it goes.
bool UnattendedMode();

// Writes text to the standard error, one line per line of the text, as unattended message
// boxes are reported (in UTF-8 unless the standard error is a console).
void WriteStandardError(std::u16string_view text);

// Runs the thread's pending window messages (a PeekMessage loop).
class MessagePump final : public EventPump {
 public:
  void ProcessPending() override;
};

// Pictures read by their content (OleLoadPicture over the file's bytes), whatever the name.
class OlePictureLoader final : public PictureLoader {
 public:
  ObjectRef Load(const std::u16string& path) override;
};

// The disk of the photo family: Windows paths, case ignored by the disk itself.
class WindowsPhotoFiles final : public PhotoFileSystem {
 public:
  char16_t Separator() const override { return u'\\'; }
  std::optional<std::vector<DirEntry>> List(const std::u16string& folder) override;
  void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override;
  std::u16string Resolve(const std::u16string& path) override { return path; }
};

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

// Services for the calling thread of a Windows process: the local clock, the user's NLS
// locale, system message boxes, the thread's message pump, OLE pictures, the disk, the bitmap
// writer, the camera, the open-file dialog and the system queries. The library's own windows
// come from the window library (ui/win32, Win32WindowServices); without it a call that shows
// one raises 5.
std::shared_ptr<Services> Win32Services();

}  // namespace velmora::win32
