// Fakes of the system-information services: system queries answered from fields a test sets,
// a screen, a window surface that records what a window model asked of it, and a window
// service that records which window was asked for. The fake restart only counts requests.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "velmora/sysinfo.h"
#include "velmora/sysinfo_windows.h"

namespace velmora::fakes {

// A machine of 2002 by default: Windows 5.1.2600 (NT family), one processor of type 586, drive C
// of 40 GB, no drive D, 512 MB of memory and a page file.
class FakeSystemQueries final : public SystemQueries {
 public:
  std::optional<VersionRecord> version = VersionRecord{5, 1, 2, 2600, u"Service Pack 2"};
  ProcessorRecord processor{1, 586, 42};
  std::u16string windows_dir = u"C:\\WINDOWS";
  std::u16string system_dir = u"C:\\WINDOWS\\system32";
  char16_t separator = u'\\';
  // System.ini comes from this directory when set (any case of its name), else from the text.
  std::optional<std::filesystem::path> profile_dir;
  std::string system_ini;
  // Cluster figures of the current drive and of the drives by letter ("C"); letters ignore case.
  std::optional<ClusterFigures> current_drive = ClusterFigures{8, 512, 2'000'000, 9'767'512};
  std::map<char16_t, ClusterFigures> lettered_drives{{u'C', {8, 512, 2'000'000, 9'767'512}}};
  // Byte figures by letter, for the roots "C:\" and "D:\".
  std::map<char16_t, DriveBytes> drive_bytes{
      {u'C', {8'192'000'000, 40'007'729'152, 8'192'000'000}}};
  MemoryStatus memory{63,          536'330'240,   198'443'188,  1'073'741'824,
                      805'306'368, 1'610'072'064, 1'003'749'556};
  bool privilege_granted = true;
  bool restart_accepted = true;
  // None by default, as Windows answers.
  MachineNames names;
  std::u16string temporary_dir;

  // What was asked.
  int privilege_requests = 0;
  int restart_requests = 0;
  int memory_queries = 0;
  std::vector<std::optional<std::u16string>> cluster_roots;
  std::vector<std::u16string> byte_roots;

  std::optional<VersionRecord> Version() override { return version; }
  ProcessorRecord Processor() override { return processor; }
  std::u16string WindowsDirectory() override { return windows_dir; }
  std::u16string SystemDirectory() override { return system_dir; }
  char16_t PathSeparator() const override { return separator; }
  std::u16string ProfileString(std::u16string_view file, std::u16string_view section,
                               std::u16string_view key, std::size_t size) override;
  std::optional<ClusterFigures> DiskClusters(std::optional<std::u16string_view> root) override;
  std::optional<DriveBytes> DiskBytes(std::u16string_view root) override;
  MemoryStatus Memory() override {
    ++memory_queries;
    return memory;
  }
  bool EnableShutdownPrivilege() override {
    ++privilege_requests;
    return privilege_granted;
  }
  bool RequestRestart() override {
    ++restart_requests;
    return restart_accepted;
  }
  MachineNames Names() override { return names; }
  std::u16string TemporaryDirectory() override { return temporary_dir; }
};

// A 1024 x 768 screen at 96 dots per inch, 32 bits per pixel, with a mouse at (10, 20).
class FakeWindowDisplay final : public WindowDisplay {
 public:
  ScreenMetrics screen{15360, 11520, 15, 15};
  std::int32_t planes = 1;
  std::int32_t bits = 32;
  bool mouse = true;
  CursorPosition cursor{10, 20};

  ScreenMetrics Screen() override { return screen; }
  std::int32_t ColorPlanes() override { return planes; }
  std::int32_t BitsPerPixel() override { return bits; }
  bool MousePresent() override { return mouse; }
  CursorPosition Cursor() override { return cursor; }
};

// Records what a window model asked: every height in order, the parts shown, the timer and the
// unload; on_pump runs on each request to run pending events (a test clicks there).
class RecordingSurface final : public WindowSurface {
 public:
  std::vector<std::int16_t> heights;
  std::vector<std::uint32_t> shown;
  std::int16_t width = 0;
  std::int32_t timer = 0;
  int pumps = 0;
  int unloads = 0;
  std::function<void()> on_pump;

  void Show(std::uint32_t parts) override { shown.push_back(parts); }
  void SetWidth(std::int16_t twips) override { width = twips; }
  void SetHeight(std::int16_t twips) override { heights.push_back(twips); }
  void SetTimerInterval(std::int32_t ms) override { timer = ms; }
  void ProcessPending() override {
    ++pumps;
    if (on_pump) on_pump();
  }
  void Unload() override { ++unloads; }
};

// Records which window System asked for.
class RecordingSystemWindows final : public SystemWindows {
 public:
  struct Shown {
    bool pc_info;
    bool modal;
  };
  std::vector<Shown> shown;

  void ShowPcInfo(bool modal) override { shown.push_back({true, modal}); }
  void ShowSplash(bool modal) override { shown.push_back({false, modal}); }
  bool AnyOpen() const override { return false; }
  void WaitWhileOpen() override {}
};

}  // namespace velmora::fakes
