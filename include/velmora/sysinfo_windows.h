// The two system-information windows as toolkit-free models: the information window FrmPCInfo
// and the splash window frmSplashSys. A model computes every cell, label, percentage and bar
// width, runs the open and close sequences and decides which close requests to honour; the
// toolkit's window (Qt6 on Linux) builds the widgets, copies the model's figures into them
// when the model says they changed, and hands the model its timer ticks and button clicks.
//
// Lengths are twips (1/1440 inch); a view converts them with its screen's dots per inch.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "velmora/currency.h"
#include "velmora/host.h"
#include "velmora/locale.h"
#include "velmora/sysinfo.h"

namespace velmora {

// The screen as a window sees it.
struct ScreenMetrics {
  double width_twips = 0;
  double height_twips = 0;
  double twips_per_pixel_x = 15;  // 1440 / dots per inch
  double twips_per_pixel_y = 15;
};

// A position on the screen, in pixels.
struct CursorPosition {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// What a window asks of the screen it is shown on and of its own drawing surface.
class WindowDisplay {
 public:
  virtual ~WindowDisplay() = default;
  virtual ScreenMetrics Screen() = 0;
  // The window's device: colour planes and bits per pixel (1 and 32 on a true-colour screen).
  virtual std::int32_t ColorPlanes() = 0;
  virtual std::int32_t BitsPerPixel() = 0;
  // Whether a mouse (or another pointing device) is attached.
  virtual bool MousePresent() = 0;
  virtual CursorPosition Cursor() = 0;
};

// What a model asks of the toolkit window that shows it. Its ProcessPending lets the window's
// pending events (timer ticks, clicks) run between the steps of a height effect.
class WindowSurface : public EventPump {
 public:
  // The figures named by `parts` (a model's Part bits) changed: copy them into the widgets.
  virtual void Show(std::uint32_t parts) = 0;
  virtual void SetWidth(std::int16_t twips) = 0;
  virtual void SetHeight(std::int16_t twips) = 0;
  // Starts the refresh timer with this interval, or stops it (0).
  virtual void SetTimerInterval(std::int32_t ms) = 0;
  // Destroys the window: the model's last call.
  virtual void Unload() = 0;
};

enum class CellAlign : std::uint8_t { kLeft, kCenter, kRight };

// One cell of a window's grid.
struct GridCell {
  std::u16string text;
  CellAlign align = CellAlign::kLeft;
  bool bold = false;
};

// "1024 x 768 Pixeles.": each length and its twips-per-pixel factor rounded to whole numbers
// (halves to even) and divided dropping the remainder. A factor that rounds to 0 gives 0.
std::u16string ResolutionText(const ScreenMetrics& screen);

// ---------------------------------------------------------------------------------------------
// FrmPCInfo: the operating system, processor, screen, memory and drives C and D, the memory
// and the drives each with totals, used and free amounts, percentages and a bar, and the mouse
// position, refreshed every 150 ms. It closes only through its "&Finalizar" button. The
// operating-system and processor-type rows show the platform's own names where it has them
// (SystemQueries::Names), the Windows texts otherwise.
class PcInfoModel {
 public:
  static constexpr std::int16_t kWidth = 7635;
  static constexpr std::int16_t kHeight = 6075;
  static constexpr std::int32_t kTimerInterval = 150;  // ms
  static constexpr int kRows = 13;
  static constexpr std::array<std::int16_t, 2> kColumnWidths{1499, 2415};
  static constexpr double kBarFull = 3255;  // a bar at 100 %

  // The parts a Show call names.
  enum Part : std::uint32_t {
    kGrid = 1u << 0,
    kMemoryLabels = 1u << 1,
    kMemoryBar = 1u << 2,
    kDriveCLabels = 1u << 3,
    kDriveCBar = 1u << 4,
    kDriveDLabels = 1u << 5,
    kDriveDBar = 1u << 6,
    kMouse = 1u << 7,
    kAll = (1u << 8) - 1,
  };

  // The amounts of the memory or of one drive, as its frame shows them.
  struct Figures {
    std::u16string total;         // "Total:"
    std::u16string used_percent;  // beside "Ocupada:", "75 %"
    std::u16string free_percent;  // beside "Libre:", "25 %"
    std::u16string used;          // under "Ocupada:"
    std::u16string free;          // under "Libre:"
    Currency bar_width;           // twips, [0, 3255] for figures that agree with each other
  };

  // What a drive that cannot be queried shows instead of its figures (a machine without D).
  static constexpr const char16_t* kNoDrive = u"No disponible";

  // The fixed captions.
  static constexpr const char16_t* kGeneralCaption = u"Información General: ";
  static constexpr const char16_t* kMemoryCaption = u"Memoria: ";
  static constexpr const char16_t* kStorageCaption = u"Almacenaje: ";
  static constexpr const char16_t* kDriveCCaption = u"Unidad C:";
  static constexpr const char16_t* kDriveDCaption = u"Unidad D:";
  static constexpr const char16_t* kMouseCaption = u"Mouse: ";
  static constexpr const char16_t* kPositionCaption = u"Posición:";
  static constexpr const char16_t* kTotalCaption = u"Total:";
  static constexpr const char16_t* kUsedCaption = u"Ocupada:";
  static constexpr const char16_t* kFreeCaption = u"Libre:";
  static constexpr const char16_t* kExit = u"&Finalizar";
  static constexpr const char16_t* kName = u"FrmPCInfo";
  static constexpr const char16_t* kCompany = u"Velmora & Dolva Systems, México.";

  PcInfoModel(SystemQueries& sys, WindowDisplay& display, WindowSurface& surface,
              const LocaleData& loc);

  // Loading: size 7635 x 6075, closing flag cleared, grid set up and filled, figures shown,
  // the timer started at 150 ms.
  void Load();
  // A timer tick: memory, drives and cursor again; labels and bars (never the totals or grid).
  void Refresh();
  // The "&Finalizar" button: the timer stops and the window shrinks to nothing, then unloads.
  void Finalizar();
  // Whether a request to close the window is honoured: only the one "&Finalizar" makes.
  bool QueryUnload() const { return closing_; }

  const GridCell& cell(int row, int column) const { return grid_[row][column]; }
  const Figures& memory() const { return memory_; }
  const Figures& drive_c() const { return drive_c_; }
  const Figures& drive_d() const { return drive_d_; }
  const std::u16string& mouse() const { return mouse_; }
  std::int16_t height() const { return height_; }
  bool closing() const { return closing_; }

 private:
  // The figures that change while the window is open; returns the parts that changed.
  std::uint32_t ReadChanging(bool with_totals);

  SystemQueries& sys_;
  WindowDisplay& display_;
  WindowSurface& surface_;
  const LocaleData& loc_;
  std::array<std::array<GridCell, 2>, kRows> grid_;
  Figures memory_, drive_c_, drive_d_;
  std::u16string mouse_;
  std::int16_t height_ = kHeight;
  bool closing_ = false;
};

// ---------------------------------------------------------------------------------------------
// frmSplashSys: version, processor, screen, colours, the System.ini descriptions, the current
// drive with a bar of the space used, and three bars of the memory still available, refreshed
// on the shortest timer. It rolls open from 405 to 5040 twips when it loads and rolls shut when
// it closes, whatever asked it to close.
class SplashModel {
 public:
  static constexpr int kRows = 14;
  static constexpr std::array<std::int16_t, 2> kColumnWidths{2020, 3595};
  static constexpr std::int16_t kClosedHeight = 405;
  static constexpr std::int16_t kOpenHeight = 5040;
  static constexpr std::int32_t kTimerInterval = 1;  // ms: the shortest there is
  static constexpr double kDiskBarFull = 1170;
  static constexpr std::int16_t kMemoryBarFull = 3135;

  enum Part : std::uint32_t {
    kGrid = 1u << 0,        // the grid's cells (all rows)
    kDiskBar = 1u << 1,     // Label4 and Shape1
    kInfoFrame = 1u << 2,   // fraInfo shown and enabled
    kMemoryText = 1u << 3,  // lblInfo(6) and grid rows 11 to 13
    kBarRows = 1u << 4,     // the three bar rows made visible
    kBar1 = 1u << 5,        // physical
    kBar2 = 1u << 6,        // virtual
    kBar3 = 1u << 7,        // page file
    kAll = (1u << 8) - 1,
  };

  // The fixed captions.
  static constexpr const char16_t* kFrameCaption = u"Información del Sistema ...";
  static constexpr const char16_t* kCompany = u" Velmora & Dolva Systems, México.";
  static constexpr const char16_t* kDiskCaption = u"Space Used on  this Hard Disk.";
  static constexpr const char16_t* kDiskScale = u"0        50%  100";
  static constexpr const char16_t* kExit = u"&Salir";
  static constexpr const char16_t* kName = u"frmSplashSys";
  static constexpr std::array<const char16_t*, 3> kBarNames{u"Physical", u"Virtual", u"PageFile"};
  static constexpr std::array<const char16_t*, 3> kBarCaptions{u"physical", u"virtual",
                                                               u"pagefile"};

  SplashModel(SystemQueries& sys, WindowDisplay& display, WindowSurface& surface,
              const LocaleData& loc);

  // Loading: height 405, the grid and the disk bar filled, one refresh, then the window grows
  // to 5040 in steps of 5 with pending events run after each.
  void Load();
  // A timer tick: the memory figures and the three bars; a bar changes only when its width
  // does.
  void Refresh();
  // Any close: the window shrinks back to 405, the timer stops and the window unloads. A close
  // asked for while it is already closing joins the one under way.
  void Close();

  const GridCell& cell(int row, int column) const { return grid_[row][column]; }
  // Label4: " 42%"; "100%" before the window loads.
  const std::u16string& disk_percent() const { return disk_percent_; }
  // Shape1's width, twips: 1170 at 100 %.
  Currency disk_bar_width() const { return disk_bar_width_; }
  bool info_frame_shown() const { return info_frame_shown_; }
  // lblInfo(6): "Memoria Física Disponible: 512,000 Kb."; "Memory Free" before the first refresh.
  const std::u16string& memory_free() const { return memory_free_; }
  bool bar_rows_visible() const { return bar_rows_visible_; }
  // shpBar(i), i in 1..3, twips: the share still available of 3135.
  std::int16_t bar_width(int i) const { return bar_width_[i - 1]; }
  std::int16_t height() const { return height_; }
  bool closing() const { return closing_; }

 private:
  void SystemInfo();
  void SetRow(int row, std::u16string label, std::u16string value);

  SystemQueries& sys_;
  WindowDisplay& display_;
  WindowSurface& surface_;
  const LocaleData& loc_;
  std::array<std::array<GridCell, 2>, kRows> grid_;
  std::u16string disk_percent_ = u"100%";
  Currency disk_bar_width_ = Currency::FromScaled(1170 * Currency::kScale);
  bool info_frame_shown_ = false;
  std::u16string memory_free_ = u"Memory Free";
  bool bar_rows_visible_ = false;
  std::array<std::int16_t, 3> bar_width_{kMemoryBarFull, kMemoryBarFull, kMemoryBarFull};
  std::int16_t height_ = kClosedHeight;
  bool closing_ = false;
};

}  // namespace velmora
