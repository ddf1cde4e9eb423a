#include "linux_sysinfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <type_traits>

#include "logind_restart.h"
#include "velmora/coerce.h"
#include "velmora/utf.h"

namespace velmora::linux_platform {

namespace {

// A whole file, nullopt when it cannot be read (missing, a directory, an I/O error).
std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
}

// The lines of a text, one at a time; a callback that returns false ends the walk.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if constexpr (std::is_same_v<decltype(f(text)), bool>) {
      if (!f(text.substr(0, end))) break;
    } else {
      f(text.substr(0, end));
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// The leading decimal number of a text, nullopt when it starts with none.
std::optional<std::uint64_t> LeadingNumber(std::string_view s) {
  std::uint64_t v = 0;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec != std::errc()) return std::nullopt;
  return v;
}

// "name : value" lines of /proc files.
std::optional<std::string_view> Field(std::string_view line, std::string_view name) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != name) return std::nullopt;
  return Trim(line.substr(colon + 1));
}

// Mount points in self/mounts write blanks and the like as octal escapes ("\040").
std::string Unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() &&
        std::all_of(s.begin() + i + 1, s.begin() + i + 4,
                    [](char c) { return c >= '0' && c <= '7'; })) {
      out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::uint64_t Times(std::uint64_t a, std::uint64_t b) {
  std::uint64_t r = 0;
  return __builtin_mul_overflow(a, b, &r) ? std::numeric_limits<std::uint64_t>::max() : r;
}

// Virtual memory is RAM and swap together; the load is the share of RAM in use, rounded.
void Complete(MemoryStatus& m) {
  m.total_virtual = m.total_physical + m.total_page_file;
  m.avail_virtual = m.avail_physical + m.avail_page_file;
  if (m.total_physical > 0) {
    m.load = static_cast<std::uint32_t>(
        std::lround(static_cast<double>(m.total_physical - m.avail_physical) * 100.0 /
                    static_cast<double>(m.total_physical)));
  }
}

std::optional<struct statvfs> StatFs(const std::filesystem::path& path) {
  struct statvfs s {};
  if (statvfs(path.c_str(), &s) != 0) return std::nullopt;
  return s;
}

}  // namespace

VersionRecord ParseKernelRelease(std::string_view release) {
  VersionRecord v;
  v.platform_id = 2;
  std::int32_t* parts[] = {&v.major, &v.minor, &v.build};
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (at >= release.size() || release[at] != '.') break;
      ++at;
    }
    std::uint32_t n = 0;
    const auto res = std::from_chars(release.data() + at, release.data() + release.size(), n);
    if (res.ec != std::errc()) {
      if (i > 0) --at;  // the point belongs to the update text
      break;
    }
    *parts[i] = static_cast<std::int32_t>(std::min<std::uint32_t>(n, 0x7FFFFFFF));
    at = static_cast<std::size_t>(res.ptr - release.data());
  }
  std::string_view rest = release.substr(at);
  while (!rest.empty() &&
         (rest.front() == '-' || rest.front() == '.' || rest.front() == '_' || rest.front() == '+'))
    rest.remove_prefix(1);
  v.service_pack = FromUtf8(rest.substr(0, 127));
  return v;
}

ProcessorRecord ParseCpuInfo(std::string_view cpuinfo) {
  ProcessorRecord p;
  std::optional<std::uint64_t> family, model, stepping;
  ForEachLine(cpuinfo, [&](std::string_view line) {
    if (Field(line, "processor")) ++p.count;
    if (auto v = Field(line, "cpu family"); v && !family) family = LeadingNumber(*v);
    if (auto v = Field(line, "model"); v && !model) model = LeadingNumber(*v);
    if (auto v = Field(line, "stepping"); v && !stepping) stepping = LeadingNumber(*v);
  });
  if (family) {
    // A 32-bit program is told 586 by every x86 processor from the Pentium on.
    p.type = *family <= 3 ? 386 : *family == 4 ? 486 : 586;
    const std::uint32_t level = static_cast<std::uint32_t>(*family) & 0xFFFF;
    const std::uint32_t revision = ((static_cast<std::uint32_t>(model.value_or(0)) & 0xFF) << 8) |
                                   (static_cast<std::uint32_t>(stepping.value_or(0)) & 0xFF);
    p.level_revision = static_cast<std::int32_t>(level | revision << 16);
  }
  return p;
}

std::string CpuModelName(std::string_view cpuinfo) {
  // In the order of preference; the first line of the best name wins.
  static constexpr std::string_view kNames[] = {"model name", "Processor", "cpu model", "cpu"};
  std::string_view found;
  std::size_t rank = std::size(kNames);
  ForEachLine(cpuinfo, [&](std::string_view line) {
    for (std::size_t i = 0; i < rank; ++i) {
      if (auto v = Field(line, kNames[i]); v && !v->empty()) {
        found = *v;
        rank = i;
        break;
      }
    }
    return rank != 0;
  });
  std::string out;
  for (const char c : found) {
    const bool blank = c == ' ' || c == '\t';
    if (blank && (out.empty() || out.back() == ' ')) continue;
    out += blank ? ' ' : c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string OsReleaseName(std::string_view os_release) {
  // A value is a shell word: in double quotes \ escapes ", \, $ and `; single quotes take
  // everything as it stands.
  auto unquote = [](std::string_view v) {
    v = Trim(v);
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
      const char c = v[i];
      if (quote == 0 && (c == '"' || c == '\'')) {
        quote = c;
      } else if (c == quote) {
        quote = 0;
      } else if (c == '\\' && quote != '\'' && i + 1 < v.size()) {
        out += v[++i];
      } else {
        out += c;
      }
    }
    return out;
  };
  std::string pretty, name;
  ForEachLine(os_release, [&](std::string_view line) {
    line = Trim(line);
    if (line.starts_with("PRETTY_NAME=")) pretty = unquote(line.substr(12));
    else if (line.starts_with("NAME=")) name = unquote(line.substr(5));
  });
  if (!pretty.empty()) return pretty;
  return name.empty() ? "Linux" : name;
}

std::optional<MemoryStatus> ParseMemInfo(std::string_view meminfo) {
  std::optional<std::uint64_t> total, available, free, buffers, cached, swap_total, swap_free;
  ForEachLine(meminfo, [&](std::string_view line) {
    // Every figure is in kB.
    auto read = [&](std::string_view name, std::optional<std::uint64_t>& into) {
      if (auto v = Field(line, name)) {
        if (auto n = LeadingNumber(*v)) into = Times(*n, 1024);
      }
    };
    read("MemTotal", total);
    read("MemAvailable", available);
    read("MemFree", free);
    read("Buffers", buffers);
    read("Cached", cached);
    read("SwapTotal", swap_total);
    read("SwapFree", swap_free);
    // The kernel writes SwapFree after every other figure read here.
    return !swap_free.has_value();
  });
  if (!total) return std::nullopt;
  MemoryStatus m;
  m.total_physical = *total;
  // Kernels before 3.14 give no MemAvailable: free memory plus what the caches would give back.
  m.avail_physical = std::min(
      *total, available.value_or(free.value_or(0) + buffers.value_or(0) + cached.value_or(0)));
  m.total_page_file = swap_total.value_or(0);
  m.avail_page_file = std::min(m.total_page_file, swap_free.value_or(0));
  Complete(m);
  return m;
}

std::optional<VersionRecord> LinuxSystemQueries::Version() {
  utsname u{};
  if (uname(&u) != 0) return std::nullopt;
  return ParseKernelRelease(u.release);
}

ProcessorRecord LinuxSystemQueries::Processor() {
  if (const auto text = ReadFile(paths_.proc / "cpuinfo")) {
    ProcessorRecord p = ParseCpuInfo(*text);
    if (p.count > 0) return p;
  }
  ProcessorRecord p;
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  p.count = online > 0 ? static_cast<std::int32_t>(online) : 1;
  return p;
}

std::u16string LinuxSystemQueries::WindowsDirectory() {
  return FromUtf8(paths_.windows_dir.string());
}
std::u16string LinuxSystemQueries::SystemDirectory() {
  return FromUtf8(paths_.system_dir.string());
}

std::u16string LinuxSystemQueries::ProfileString(std::u16string_view file,
                                                 std::u16string_view section,
                                                 std::u16string_view key, std::size_t size) {
  return ProfileFileString(paths_.windows_dir, file, section, key, size);
}

std::vector<std::filesystem::path> LinuxSystemQueries::DriveMountPoints() {
  std::vector<std::filesystem::path> points{"/"};
  const auto mounts = ReadFile(paths_.proc / "self" / "mounts");
  if (!mounts) return points;
  std::vector<std::string> devices;
  ForEachLine(*mounts, [&](std::string_view line) {
    const std::size_t a = line.find(' ');
    if (a == std::string_view::npos) return;
    const std::size_t b = line.find(' ', a + 1);
    const std::string device = Unescape(line.substr(0, a));
    const std::string point = Unescape(line.substr(a + 1, b == line.npos ? line.npos : b - a - 1));
    if (point == "/") {
      devices.push_back(device);  // the root's own device gets no second letter
      return;
    }
    if (!device.starts_with("/dev/") || device.starts_with("/dev/loop")) return;
    if (point == "/boot" || point.starts_with("/boot/")) return;
    if (std::find(devices.begin(), devices.end(), device) != devices.end()) return;
    struct stat st {};
    if (stat(point.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;  // files bound in place
    devices.push_back(device);
    points.emplace_back(point);
  });
  return points;
}

std::optional<std::filesystem::path> LinuxSystemQueries::DriveOf(std::u16string_view root,
                                                                 bool with_separator) {
  if (root.size() < 2 || root[1] != u':') return std::nullopt;
  const std::u16string_view tail = root.substr(2);
  if (with_separator ? !(tail == u"\\" || tail == u"/") : !tail.empty()) return std::nullopt;
  const char16_t letter = UpperChar(root[0]);
  if (letter < u'C' || letter > u'Z') return std::nullopt;
  const auto points = DriveMountPoints();
  const std::size_t index = letter - u'C';
  if (index >= points.size()) return std::nullopt;
  return points[index];
}

std::optional<ClusterFigures> LinuxSystemQueries::DiskClusters(
    std::optional<std::u16string_view> root) {
  std::filesystem::path path = ".";
  if (root) {
    const auto drive = DriveOf(*root, false);
    if (!drive) return std::nullopt;
    path = *drive;
  }
  const auto s = StatFs(path);
  if (!s || s->f_frsize == 0 || s->f_frsize > 0x7FFFFFFF) return std::nullopt;
  // One fragment is one cluster of one "sector" of f_frsize bytes.
  return ClusterFigures{1, static_cast<std::int32_t>(s->f_frsize), s->f_bavail, s->f_blocks};
}

std::optional<DriveBytes> LinuxSystemQueries::DiskBytes(std::u16string_view root) {
  const auto drive = DriveOf(root, true);
  if (!drive) return std::nullopt;
  const auto s = StatFs(*drive);
  if (!s) return std::nullopt;
  return DriveBytes{Times(s->f_bavail, s->f_frsize), Times(s->f_blocks, s->f_frsize),
                    Times(s->f_bfree, s->f_frsize)};
}

LinuxSystemQueries::~LinuxSystemQueries() {
  if (meminfo_fd_ >= 0) close(meminfo_fd_);
}

MemoryStatus LinuxSystemQueries::Memory() {
  // Read from the start of the open file; a failed read (the file gone or never there) opens it
  // once more before giving up.
  char buf[8192];
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (meminfo_fd_ < 0)
      meminfo_fd_ = open((paths_.proc / "meminfo").c_str(), O_RDONLY | O_CLOEXEC);
    if (meminfo_fd_ < 0) break;
    const ssize_t n = pread(meminfo_fd_, buf, sizeof buf, 0);
    if (n > 0) {
      if (auto m = ParseMemInfo(std::string_view(buf, static_cast<std::size_t>(n)))) return *m;
      break;
    }
    close(meminfo_fd_);
    meminfo_fd_ = -1;
  }
  struct sysinfo si {};
  if (sysinfo(&si) != 0) return {};
  const std::uint64_t unit = si.mem_unit == 0 ? 1 : si.mem_unit;
  MemoryStatus m;
  m.total_physical = Times(si.totalram, unit);
  m.avail_physical = std::min(m.total_physical, Times(si.freeram + si.bufferram, unit));
  m.total_page_file = Times(si.totalswap, unit);
  m.avail_page_file = Times(si.freeswap, unit);
  Complete(m);
  return m;
}

MachineNames LinuxSystemQueries::Names() {
  MachineNames n;
  for (const auto& path : paths_.os_release) {
    if (const auto text = ReadFile(path)) {
      n.system = FromUtf8(OsReleaseName(*text));
      break;
    }
  }
  if (n.system.empty()) n.system = u"Linux";
  utsname u{};
  const bool named = uname(&u) == 0;
  if (named) n.platform = FromUtf8(std::string(u.sysname) + " " + u.release);
  if (const auto text = ReadFile(paths_.proc / "cpuinfo"))
    n.processor = FromUtf8(CpuModelName(*text));
  if (n.processor.empty() && named) n.processor = FromUtf8(u.machine);
  return n;
}

std::u16string LinuxSystemQueries::TemporaryDirectory() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::error_code ec;
  if (tmpdir != nullptr && *tmpdir != '\0' && std::filesystem::is_directory(tmpdir, ec))
    return FromUtf8(tmpdir);
  return u"/tmp";
}

bool LinuxSystemQueries::EnableShutdownPrivilege() { return LogindCanReboot(paths_.bus_address); }
bool LinuxSystemQueries::RequestRestart() { return LogindReboot(paths_.bus_address); }

}  // namespace velmora::linux_platform
