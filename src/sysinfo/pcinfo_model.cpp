// FrmPCInfo: the information window's figures, refresh and close rule.
#include <algorithm>
#include <cmath>
#include <limits>

#include "numfmt.h"
#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/sysinfo_windows.h"
#include "window_util.h"

namespace velmora {

using sysinfo_detail::Decimal;
using sysinfo_detail::FormatWhole;
using sysinfo_detail::RoundLong;

namespace sysinfo_detail {

std::int16_t RoundInteger(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= std::numeric_limits<std::int16_t>::min() &&
        r <= std::numeric_limits<std::int16_t>::max()))
    throw Error(err::kOverflow);
  return static_cast<std::int16_t>(r);
}

std::int32_t RoundLong(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max()))
    throw Error(err::kOverflow);
  return static_cast<std::int32_t>(r);
}

double Share(double part, double whole) {
  if (!(whole > 0)) return 0;
  return std::clamp(part / whole, 0.0, 1.0);
}
}  // namespace sysinfo_detail

std::u16string ResolutionText(const ScreenMetrics& screen) {
  auto pixels = [](double twips, double twips_per_pixel) {
    const std::int32_t factor = RoundLong(twips_per_pixel);
    return factor == 0 ? 0 : RoundLong(twips) / factor;
  };
  return Decimal(pixels(screen.width_twips, screen.twips_per_pixel_x)) + u" x " +
         Decimal(pixels(screen.height_twips, screen.twips_per_pixel_y)) + u" Pixeles.";
}

namespace {

std::u16string Mid(std::u16string_view s, std::size_t start, std::size_t length) {
  if (start - 1 >= s.size()) return {};
  return std::u16string(s.substr(start - 1, length));
}

std::u16string Right(std::u16string_view s, std::size_t length) {
  return std::u16string(s.size() <= length ? s : s.substr(s.size() - length));
}

// part x 100 / whole, within [0, 100]; 0 for a whole of 0.
double Percentage(double part, double whole) {
  if (!(whole > 0)) return 0;
  return std::clamp(part * 100.0 / whole, 0.0, 100.0);
}

// "75 %": the percentage rounded to a whole number, halves to even.
std::u16string Percent(double part, double whole) {
  return Decimal(std::int32_t{sysinfo_detail::RoundInteger(Percentage(part, whole))}) + u" %";
}

// The width of a bar whose full scale is 100 %: the percentage kept to four decimals, then
// that percentage of the full width kept to four decimals.
Currency BarWidth(double used, double total) {
  const Currency q = Currency::FromDouble(Percentage(used, total));
  return Currency::FromDouble(q.ToDouble() * PcInfoModel::kBarFull / 100.0);
}

// What is in use. A platform that reports more free than in all (a drive whose quota outgrew
// it, memory figures read at two instants) shows nothing in use rather than a negative amount.
double UsedAmount(double total, double free) { return std::max(total - free, 0.0); }

// "511.5 Mb. (536,330,240 Bytes)": a total as grid rows 10 to 12 give it.
std::u16string TotalRow(double total, const LocaleData& loc) {
  return SizeText(total, loc) + u" (" + FormatWhole(total, loc) + u" Bytes)";
}

PcInfoModel::Figures MemoryFigures(const MemoryStatus& m, const LocaleData& loc) {
  const auto total = static_cast<double>(m.total_physical);
  const auto free = static_cast<double>(m.avail_physical);
  const double used = UsedAmount(total, free);
  PcInfoModel::Figures f;
  f.total = SizeText(total, loc);
  f.used = SizeText(used, loc);
  f.free = SizeText(free, loc);
  // The platform's own load, not one recomputed from the amounts.
  const std::uint32_t load = std::min<std::uint32_t>(m.load, 100);
  f.used_percent = Decimal(load) + u" %";
  f.free_percent = Decimal(100 - load) + u" %";
  f.bar_width = BarWidth(used, total);
  return f;
}

PcInfoModel::Figures DriveFigures(const std::optional<DriveBytes>& d, const LocaleData& loc) {
  PcInfoModel::Figures f;
  if (!d) {
    f.total = PcInfoModel::kNoDrive;
    return f;
  }
  const auto total = static_cast<double>(d->total);
  const auto free = static_cast<double>(d->available);
  const double used = UsedAmount(total, free);
  f.total = SizeText(total, loc);
  f.used = SizeText(used, loc);
  f.free = SizeText(free, loc);
  f.used_percent = Percent(used, total);
  f.free_percent = Percent(free, total);
  f.bar_width = BarWidth(used, total);
  return f;
}

// Copies the changing figures (all but the total) and says which halves changed.
std::uint32_t Update(PcInfoModel::Figures& held, const PcInfoModel::Figures& fresh,
                     std::uint32_t labels_part, std::uint32_t bar_part) {
  std::uint32_t changed = 0;
  if (held.used_percent != fresh.used_percent || held.free_percent != fresh.free_percent ||
      held.used != fresh.used || held.free != fresh.free) {
    held.used_percent = fresh.used_percent;
    held.free_percent = fresh.free_percent;
    held.used = fresh.used;
    held.free = fresh.free;
    changed |= labels_part;
  }
  if (held.bar_width != fresh.bar_width) {
    held.bar_width = fresh.bar_width;
    changed |= bar_part;
  }
  return changed;
}

}  // namespace

PcInfoModel::PcInfoModel(SystemQueries& sys, WindowDisplay& display, WindowSurface& surface,
                         const LocaleData& loc)
    : sys_(sys), display_(display), surface_(surface), loc_(loc) {}

void PcInfoModel::Load() {
  surface_.SetWidth(kWidth);
  height_ = kHeight;
  surface_.SetHeight(kHeight);
  closing_ = false;

  // Grid setup: headings centred and bold, names right-aligned and bold, values left.
  static constexpr std::array<const char16_t*, kRows> kNames{
      u"Concepto:",   u"Sistema Op.:", u"Plataforma:",     u"Versión:",      u"Actualización:",
      u"Núm. CPU's:", u"Tipo de CPU:", u"Código del CPU:", u"Res. Gráfica:", u"Núm. Colores:",
      u"Memoria:",    u"Disco C:",     u"Disco D:"};
  grid_[0][0] = {kNames[0], CellAlign::kCenter, true};
  grid_[0][1] = {u"Información:", CellAlign::kCenter, true};
  for (int row = 1; row < kRows; ++row) {
    grid_[row][0] = {kNames[row], CellAlign::kRight, true};
    grid_[row][1] = {{}, CellAlign::kLeft, false};
  }

  // Fill-in.
  const float colours = ColorCount(display_.ColorPlanes(), display_.BitsPerPixel());
  const std::u16string p = ProcessorText(sys_);
  const std::u16string resolution = ResolutionText(display_.Screen());
  const VersionRecord version = QueryVersionRecord(sys_);
  // The platform's own names where it has them (a Linux system, its kernel, the processor's
  // model); the Windows texts otherwise.
  const MachineNames names = sys_.Names();
  const MemoryStatus memory = sys_.Memory();
  const auto drive_c = sys_.DiskBytes(u"C:\\");
  const auto drive_d = sys_.DiskBytes(u"D:\\");

  const char16_t* platform = u"";
  switch (version.platform_id) {
    case 0: platform = u"Windows"; break;
    case 1: platform = u"Windows 32"; break;
    case 2: platform = u"Windows XP ó NT"; break;
    default: break;
  }
  auto drive_total = [&](const std::optional<DriveBytes>& d) {
    return d ? TotalRow(static_cast<double>(d->total), loc_) : std::u16string(kNoDrive);
  };
  auto either = [](const std::u16string& own, const std::u16string& windows) {
    return own.empty() ? windows : own;
  };
  const std::array<std::u16string, kRows> values{
      u"",
      either(names.system, u"Windows"),
      either(names.platform, platform),
      Decimal(version.major) + u"." + Decimal(version.minor) + u"." + Decimal(version.build),
      std::u16string(TrimBlanks(version.service_pack)),
      Mid(p, 1, 1),                           // the processor count: only its first digit
      either(names.processor, Mid(p, 2, 3)),  // the type
      Right(p, 8),                            // the low digits of the level/revision word
      resolution,
      FormatWhole(static_cast<double>(colours), loc_),
      TotalRow(static_cast<double>(memory.total_physical), loc_),
      drive_total(drive_c),
      drive_total(drive_d)};
  for (int row = 1; row < kRows; ++row) grid_[row][1].text = values[row];

  memory_ = MemoryFigures(memory, loc_);
  drive_c_ = DriveFigures(drive_c, loc_);
  drive_d_ = DriveFigures(drive_d, loc_);
  surface_.Show(kAll);
  surface_.SetTimerInterval(kTimerInterval);
}

void PcInfoModel::Refresh() {
  const MemoryStatus memory = sys_.Memory();
  const auto drive_c = sys_.DiskBytes(u"C:\\");
  const auto drive_d = sys_.DiskBytes(u"D:\\");
  const CursorPosition cursor = display_.Cursor();

  std::uint32_t changed = 0;
  const std::u16string mouse = u"     X = " + Decimal(cursor.x) + u",  Y = " + Decimal(cursor.y);
  if (mouse != mouse_) {
    mouse_ = mouse;
    changed |= kMouse;
  }
  changed |= Update(memory_, MemoryFigures(memory, loc_), kMemoryLabels, kMemoryBar);
  changed |= Update(drive_c_, DriveFigures(drive_c, loc_), kDriveCLabels, kDriveCBar);
  changed |= Update(drive_d_, DriveFigures(drive_d, loc_), kDriveDLabels, kDriveDBar);
  if (changed != 0) surface_.Show(changed);
}

void PcInfoModel::Finalizar() {
  if (closing_) return;  // a second click while the window shrinks
  closing_ = true;
  surface_.SetTimerInterval(0);
  HeightEffect(
      0, height_, false,
      [this](std::int16_t h) {
        height_ = h;
        surface_.SetHeight(h);
      },
      &surface_);
  surface_.Unload();
}

}  // namespace velmora
