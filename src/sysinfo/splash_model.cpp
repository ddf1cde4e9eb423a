// frmSplashSys: the splash window's figures, refresh and open and close sequences.
#include "numfmt.h"
#include "velmora/coerce.h"
#include "velmora/sysinfo_windows.h"
#include "window_util.h"

namespace velmora {

using sysinfo_detail::Decimal;
using sysinfo_detail::FormatWhole;

namespace {

// The label of grid row 0, by the version and the platform.
const char16_t* VersionLabel(const VersionRecord& v) {
  if (v.major < 4) return u"Versión de Windows : ";
  if (v.platform_id == 2) return u"Windows NT version : ";
  if (v.platform_id == 1) return u"Versión de Windows 98 : ";
  return u"";
}

// "512,000 Kb.": a byte count in whole kilobytes.
std::u16string Kilobytes(double bytes, const LocaleData& loc) {
  return FormatWhole(bytes / 1024.0, loc) + u" Kb.";
}

}  // namespace

SplashModel::SplashModel(SystemQueries& sys, WindowDisplay& display, WindowSurface& surface,
                         const LocaleData& loc)
    : sys_(sys), display_(display), surface_(surface), loc_(loc) {}

void SplashModel::SetRow(int row, std::u16string label, std::u16string value) {
  grid_[row][0] = {std::move(label), CellAlign::kRight, false};
  grid_[row][1] = {std::move(value), CellAlign::kLeft, false};
}

void SplashModel::Load() {
  height_ = kClosedHeight;
  surface_.SetHeight(kClosedHeight);
  info_frame_shown_ = true;
  SystemInfo();
  surface_.Show(kGrid | kDiskBar | kInfoFrame);
  Refresh();
  HeightEffect(
      kClosedHeight, kOpenHeight, true,
      [this](std::int16_t h) {
        if (closing_) return;  // closed while still growing: the close sequence has the height
        height_ = h;
        surface_.SetHeight(h);
      },
      &surface_);
}

void SplashModel::SystemInfo() {
  const VersionRecord v = QueryVersionRecord(sys_);
  SetRow(0, VersionLabel(v), Decimal(v.major) + u"." + Decimal(v.minor) + u"." + Decimal(v.build));
  const ProcessorRecord p = sys_.Processor();
  SetRow(1, u"Tipo de CPU: ", Decimal(p.type));
  SetRow(2, u"Número del CPU: ", Decimal(static_cast<std::uint32_t>(p.level_revision)));
  SetRow(3, u"Resolución Gráfica: ", ResolutionText(display_.Screen()));
  SetRow(
      4, u"Colores: ",
      FormatWhole(static_cast<double>(ColorCount(display_.ColorPlanes(), display_.BitsPerPixel())),
                  loc_));
  const Variant section(u"boot.description");
  if (display_.MousePresent()) {
    SetRow(5, u"Mouse :", BootDescription(sys_, section, Variant(u"mouse.drv"), loc_));
  } else {
    SetRow(5, u"Sin Mouse", u"");
  }
  SetRow(6, u"Network: ", BootDescription(sys_, section, Variant(u"network.drv"), loc_));
  SetRow(7, u"Languaje: ", BootDescription(sys_, section, Variant(u"language.dll"), loc_));
  SetRow(8, u"Teclado: ", BootDescription(sys_, section, Variant(u"keyboard.typ"), loc_));
  SetRow(9, u"Cap. de Almacenamiento:", DiskTotalText(sys_, Variant::Missing(), loc_));
  SetRow(10, u"Espacio en Disco Duro :", DiskFreeText(sys_, Variant::Missing(), loc_));
  SetRow(11, u"Total Memoria RAM", u"");
  SetRow(12, u"Memoria RAM Ocupada", u"");
  SetRow(13, u"Memoria RAM Disponible", u"");

  // The disk bar reads the figures the two reports just left: the share of the drive in use.
  std::int16_t p_used = 0;
  if (DiskTotal() != Currency()) {
    p_used = sysinfo_detail::RoundInteger(100.0 -
                                          (100.0 * DiskFree().ToDouble()) / DiskTotal().ToDouble());
  }
  // A sign position: a blank before a number that is not negative. Built by appending, not by
  // putting the blank in front of a temporary (which GCC 12 misreads as overlapping copies).
  disk_percent_ = p_used >= 0 ? u" " : u"";
  disk_percent_ += Decimal(std::int32_t{p_used});
  disk_percent_ += u'%';
  disk_bar_width_ = Currency::FromDouble(kDiskBarFull * p_used / 100.0);
}

void SplashModel::Refresh() {
  std::uint32_t changed = 0;
  if (!bar_rows_visible_) {
    bar_rows_visible_ = true;
    changed |= kBarRows;
  }
  const MemoryStatus m = sys_.Memory();
  const auto total = static_cast<double>(m.total_physical);
  const auto avail = static_cast<double>(m.avail_physical);
  const std::u16string a = Kilobytes(avail, loc_);
  std::u16string free_text = u"Memoria Física Disponible: " + a;
  std::u16string total_text = Kilobytes(total, loc_);
  std::u16string used_text = Kilobytes(total - avail, loc_);
  if (free_text != memory_free_ || total_text != grid_[11][1].text ||
      used_text != grid_[12][1].text || a != grid_[13][1].text) {
    memory_free_ = std::move(free_text);
    grid_[11][1] = {std::move(total_text), CellAlign::kLeft, false};
    grid_[12][1] = {std::move(used_text), CellAlign::kLeft, false};
    grid_[13][1] = {a, CellAlign::kLeft, false};
    changed |= kMemoryText;
  }

  // Each bar shows the share still available; it is touched only when its width changes.
  const std::array<std::pair<std::uint64_t, std::uint64_t>, 3> pairs{
      std::pair{m.avail_physical, m.total_physical}, std::pair{m.avail_virtual, m.total_virtual},
      std::pair{m.avail_page_file, m.total_page_file}};
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::int16_t n =
        sysinfo_detail::RoundInteger(sysinfo_detail::Share(static_cast<double>(pairs[i].first),
                                                           static_cast<double>(pairs[i].second)) *
                                     kMemoryBarFull);
    if (n != bar_width_[i]) {
      bar_width_[i] = n;
      changed |= kBar1 << i;
    }
  }
  if (changed != 0) surface_.Show(changed);
}

void SplashModel::Close() {
  if (closing_) return;
  closing_ = true;
  // The timer keeps running while the window shrinks; it stops once the window is closed.
  HeightEffect(
      kClosedHeight, height_, false,
      [this](std::int16_t h) {
        height_ = h;
        surface_.SetHeight(h);
      },
      &surface_);
  surface_.SetTimerInterval(0);
  surface_.Unload();
}

}  // namespace velmora
