// The system queries: the platform's answers turned into the family's texts and figures.
#include <cfloat>
#include <cmath>
#include <limits>

#include "numfmt.h"
#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/sysinfo.h"

namespace velmora {

using sysinfo_detail::Decimal;

namespace {

// The drive figures of the last drive report: library-wide state, one copy per thread.
thread_local Currency disk_total;
thread_local Currency disk_free;

// The answers of a process that was given no system queries: every query fails, which the
// family turns into its failure texts rather than errors.
class NoSystem final : public SystemQueries {
 public:
  std::optional<VersionRecord> Version() override { return std::nullopt; }
  ProcessorRecord Processor() override { return {}; }
  std::u16string WindowsDirectory() override { return {}; }
  std::u16string SystemDirectory() override { return {}; }
  char16_t PathSeparator() const override { return u'\\'; }
  std::u16string ProfileString(std::u16string_view, std::u16string_view, std::u16string_view,
                               std::size_t) override {
    return {};
  }
  std::optional<ClusterFigures> DiskClusters(std::optional<std::u16string_view>) override {
    return std::nullopt;
  }
  std::optional<DriveBytes> DiskBytes(std::u16string_view) override { return std::nullopt; }
  MemoryStatus Memory() override { return {}; }
  bool EnableShutdownPrivilege() override { return false; }
  bool RequestRestart() override { return false; }
};

SystemQueries& Sys(const Services& services) {
  if (services.system) return *services.system;
  thread_local NoSystem none;
  return none;
}

// The profile read's buffer: 255 characters, the last for the NUL.
constexpr std::size_t kProfileBuffer = 255;

enum class Report { kTotal, kFree };

std::u16string DiskReport(SystemQueries& sys, const Variant& drive, const LocaleData& loc,
                          Report which) {
  std::u16string letter;  // the caller's drive text, nothing when left out
  std::optional<std::u16string> root;
  if (!drive.IsMissing()) {
    letter = ToText(drive, loc);
    root = letter + u":";
  }
  const std::optional<ClusterFigures> figures =
      root ? sys.DiskClusters(std::u16string_view(*root)) : sys.DiskClusters(std::nullopt);
  if (!figures) {
    disk_total = Currency();
    disk_free = Currency();
    return u"Disco: " + letter + (which == Report::kTotal ? u":, Falló." : u":, Fallo.");
  }
  // The bytes of a cluster are a 32-bit product, as the platform's figures are 32-bit.
  const std::int64_t cluster =
      std::int64_t{figures->sectors_per_cluster} * figures->bytes_per_sector;
  if (cluster < std::numeric_limits<std::int32_t>::min() ||
      cluster > std::numeric_limits<std::int32_t>::max())
    throw Error(err::kOverflow);
  const double free_bytes =
      static_cast<double>(cluster) * static_cast<double>(figures->free_clusters);
  const double total_bytes =
      static_cast<double>(cluster) * static_cast<double>(figures->total_clusters);
  const Currency free_c = Currency::FromDouble(free_bytes);
  const Currency total_c = Currency::FromDouble(total_bytes);
  disk_total = total_c;
  disk_free = free_c;

  const Currency x = which == Report::kTotal ? total_c : free_c;
  // Powers of ten choose the unit, powers of two divide; the "Gb" divisor is 960 x 2^20.
  const char16_t* unit = u"Kb";
  double divisor = 1024.0;
  if (x >= Currency::FromWhole(1'000'000'000)) {
    unit = u"Gb";
    divisor = 1'006'632'960.0;
  } else if (x >= Currency::FromWhole(1'000'000)) {
    unit = u"Mb";
    divisor = 1'048'576.0;
  }
  const Currency v = Currency::FromDouble(x.ToDouble() / divisor);
  std::u16string out = sysinfo_detail::FormatTwoDecimals(v, loc);
  out += u" ";
  out += unit;
  out += which == Report::kTotal ? u".   (" : u". Libres  (";
  out += sysinfo_detail::FormatWhole(x, loc);
  out += u" Bytes).";
  return out;
}

}  // namespace

std::int32_t PlatformId(SystemQueries& sys) {
  const auto v = sys.Version();
  return v ? v->platform_id : 0;
}

bool IsWinNT(SystemQueries& sys) { return (PlatformId(sys) & 2) != 0; }

VersionRecord QueryVersionRecord(SystemQueries& sys) {
  auto v = sys.Version();
  return v ? *v : VersionRecord{};
}

std::u16string VersionText(SystemQueries& sys) {
  const VersionRecord v = QueryVersionRecord(sys);
  return Decimal(v.major) + u"." + Decimal(v.minor) + u"." + Decimal(v.build);
}

std::u16string ProcessorText(SystemQueries& sys) {
  const ProcessorRecord p = sys.Processor();
  return Decimal(p.count) + Decimal(p.type) + Decimal(p.level_revision);
}

std::u16string StripNull(std::u16string_view text) {
  return std::u16string(text.substr(0, text.find(u'\0')));
}

void AddSlash(std::u16string& text, char16_t separator) {
  text = std::u16string(TrimRightBlanks(text));
  if (text.empty() || (text.back() != u'/' && text.back() != u'\\')) text += separator;
}

namespace {
std::u16string WithSlash(const std::u16string& raw, char16_t separator) {
  if (raw.empty()) return {};
  std::u16string dir = StripNull(raw);
  AddSlash(dir, separator);
  return dir;
}
}  // namespace

std::u16string WindowsDir(SystemQueries& sys) {
  return WithSlash(sys.WindowsDirectory(), sys.PathSeparator());
}
std::u16string SystemDir(SystemQueries& sys) {
  return WithSlash(sys.SystemDirectory(), sys.PathSeparator());
}
std::u16string WindowsDirPlain(SystemQueries& sys) { return sys.WindowsDirectory(); }
std::u16string SystemDirPlain(SystemQueries& sys) { return sys.SystemDirectory(); }

float ColorCount(std::int32_t planes, std::int32_t bits_per_pixel) {
  const std::int64_t p = std::int64_t{planes} * bits_per_pixel;
  if (p < std::numeric_limits<std::int32_t>::min() || p > std::numeric_limits<std::int32_t>::max())
    throw Error(err::kOverflow);
  // 2^p is exact in a double down to 2^-1074; single precision ends at 2^127.
  if (p > 127) throw Error(err::kOverflow);
  return static_cast<float>(std::ldexp(1.0, static_cast<int>(std::max<std::int64_t>(p, -2000))));
}

std::u16string BootDescription(SystemQueries& sys, const Variant& section, const Variant& key,
                               const LocaleData& loc) {
  const std::u16string value =
      sys.ProfileString(u"System.ini", ToText(section, loc), ToText(key, loc), kProfileBuffer);
  if (value.empty()) return u"Activo";
  return StripNull(value);
}

std::u16string DiskTotalText(SystemQueries& sys, const Variant& drive, const LocaleData& loc) {
  return DiskReport(sys, drive, loc, Report::kTotal);
}

std::u16string DiskFreeText(SystemQueries& sys, const Variant& drive, const LocaleData& loc) {
  return DiskReport(sys, drive, loc, Report::kFree);
}

Currency DiskTotal() { return disk_total; }
Currency DiskFree() { return disk_free; }

std::u16string SizeText(double x, const LocaleData& loc) {
  // One decimal, ties to even, written in the shortest form: 2.25 -> "2.2", 256.0 -> "256".
  auto r = [&](double y) {
    return FormatCurrency(Currency::FromDouble(std::nearbyint(y * 10.0) / 10.0), loc);
  };
  constexpr double kKb = 1024.0;
  constexpr double kMb = 1'048'576.0;              // 2^20
  constexpr double kGb = 1'073'741'824.0;          // 2^30
  constexpr double kTb = 1'099'511'627'776.0;      // 2^40
  constexpr double kPb = 1'125'899'906'842'624.0;  // 2^50
  if (x >= kPb) return r(x / kPb) + u" Pb.";
  if (x >= kTb) return r(x / kTb) + u" Tb.";
  if (x >= kGb) return r(x / kGb) + u" Gb.";
  if (x >= kMb) return r(x / kMb) + u" Mb.";
  if (x > kKb) return r(x / kKb) + u" Kb.";
  return r(x) + u" Bytes";
}

void HeightEffect(std::int16_t min, std::int16_t max, bool grow,
                  const std::function<void(std::int16_t)>& set_height, EventPump* events) {
  // The step runs in a 16-bit counter: the step past the last height overflows when it leaves
  // the range, after the heights before it were set.
  const std::int32_t step = grow ? 5 : -5;
  const std::int32_t last = grow ? max : min;
  std::int32_t h = grow ? min : max;  // [-32768, 32767]
  while (grow ? h <= last : h >= last) {
    set_height(static_cast<std::int16_t>(h));
    if (events != nullptr) events->ProcessPending();
    h += step;  // [-32773, 32772]
    if (h < std::numeric_limits<std::int16_t>::min() ||
        h > std::numeric_limits<std::int16_t>::max())
      throw Error(err::kOverflow);
  }
}

Error NoDisplayError() {
  return Error(err::kInvalidCall, u"No hay pantalla disponible para mostrar la ventana");
}

// ---------------------------------------------------------------------------------------------
// The public methods.

std::u16string Dolva::WinVer() { return VersionText(Sys(services())); }
std::u16string Dolva::ProcVer() { return ProcessorText(Sys(services())); }
std::u16string Dolva::SysDirectory() { return SystemDirPlain(Sys(services())); }
std::u16string Dolva::WinDirectory() { return WindowsDirPlain(Sys(services())); }

void Dolva::System(Variant& bModal, bool& Nuevo) {
  // A Null counts as false; a value that is no Boolean is 13.
  const bool modal = bModal.IsMissing() ? true
                     : bModal.IsNull()  ? false
                                        : ToBoolean(bModal, locale());
  SystemWindows* windows = services().system_windows.get();
  if (windows == nullptr) throw NoDisplayError();
  if (Nuevo) windows->ShowPcInfo(modal);
  else windows->ShowSplash(modal);
}

bool APIs::RebootSystem() {
  SystemQueries& sys = Sys(services());
  // The 9x family restarts without privileges; the NT family first enables the right to.
  if (IsWinNT(sys) && !sys.EnableShutdownPrivilege()) return false;
  return sys.RequestRestart();
}

std::u16string APIs::WinDir() { return WindowsDir(Sys(services())); }
std::u16string APIs::Sys32Dir() { return SystemDir(Sys(services())); }

std::u16string APIs::SysDir() {
  SystemQueries& sys = Sys(services());
  return WindowsDir(sys) + u"SYSTEM" + sys.PathSeparator();
}

std::u16string APIs::TempDir() {
  SystemQueries& sys = Sys(services());
  // A platform whose temporary folder is not under the Windows directory names its own.
  std::u16string own = sys.TemporaryDirectory();
  if (!own.empty()) {
    if (own.back() != sys.PathSeparator()) own += sys.PathSeparator();
    return own;
  }
  return WindowsDir(sys) + u"TEMP" + sys.PathSeparator();
}

}  // namespace velmora
