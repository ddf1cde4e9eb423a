// frmSplashSys in Win32: the widgets of the splash window, filled from its model.
#include <algorithm>

#include "win32/control_ids.h"
#include "win32/controls.h"
#include "win32/fonts.h"
#include "win32/shapes.h"
#include "win32/sysinfo_windows.h"

namespace velmora::win32ui {

namespace {

constexpr double kGridHeight = 3180;
// Frame1 holds everything; its corner in the client area.
constexpr double kX = 60;
constexpr double kY = 0;

}  // namespace

SplashWindow::SplashWindow(SystemQueries& sys, const LocaleData& loc)
    : model_(sys, display_, *this, loc),
      grid_(SplashModel::kRows, std::max(1, (Twips().Y(kGridHeight) - 4) / SplashModel::kRows)) {}

void SplashWindow::Build() {
  // A panel without caption; it rolls open from its closed height.
  CreateNative(kSplashClass, u"frmSplashSys", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW,
               twips_.X(kWidth), std::max(1, twips_.Y(SplashModel::kClosedHeight)), nullptr);
  width_px_ = twips_.X(kWidth);
  height_px_ = std::max(1, twips_.Y(SplashModel::kClosedHeight));
  auto in = [this](double x, double y, double w, double h) {
    return twips_.Rect(kX + x, kY + y, w, h);
  };

  grid_.Create(hwnd_, ids::kSplashGrid, in(60, 240, 5655, kGridHeight),
               {twips_.X(SplashModel::kColumnWidths[0]), twips_.X(SplashModel::kColumnWidths[1])});

  // Picture1: the share of the current drive in use.
  const double px = 5790;
  const double py = 240;
  HWND label1 =
      MakeLabel(hwnd_, SplashModel::kDiskCaption, in(px + 30, py + 15, 1125, 420), 0, SS_CENTER);
  SetWindowLongPtrW(
      label1, GWL_STYLE,
      (GetWindowLongPtrW(label1, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_CENTERIMAGE)));
  SendMessageW(label1, WM_SETFONT, reinterpret_cast<WPARAM>(SmallFont()), 0);
  MakeShape(hwnd_, RGB(0, 0, 255), in(px + 7, py + 480, SplashModel::kDiskBarFull, 210),
            ids::kSplashDiskBar);
  MakeOutline(hwnd_, in(px, py + 465, SplashModel::kDiskBarFull + 15, 240));
  MakeLabel(hwnd_, model_.disk_percent(), in(px + 30, py + 720, 1125, 195), ids::kSplashDiskPercent,
            SS_CENTER);
  for (int i = 0; i <= 4; ++i) {  // Label2: the tick marks
    RECT tick = in(px + 7 + SplashModel::kDiskBarFull * i / 4, py + 915, 0, i % 2 == 0 ? 75 : 45);
    tick.right = tick.left + 1;
    MakeControl(hwnd_, L"STATIC", u"", SS_BLACKRECT, tick);
  }
  SendMessageW(MakeLabel(hwnd_, SplashModel::kDiskScale, in(px, py + 960, 1185, 180), 0, SS_CENTER),
               WM_SETFONT, reinterpret_cast<WPARAM>(SmallFont()), 0);
  MakeOutline(hwnd_, in(px, py, 1185, 1140));

  MakeButton(hwnd_, SplashModel::kExit, in(5790, 1500, 1185, 495), ids::kSplashExit);

  HWND text1 = MakeControl(hwnd_, L"EDIT", SplashModel::kCompany,
                           ES_READONLY | ES_AUTOHSCROLL | WS_BORDER, in(60, 3480, 5655, 315));
  SendMessageW(text1, WM_SETFONT, reinterpret_cast<WPARAM>(SerifFont(9)), 0);

  // fraInfo: the memory still available, hidden until the window loads.
  const double fx = 60;
  const double fy = 3840;
  MakeLabel(hwnd_, model_.memory_free(), in(fx + 120, fy + 120, 6900, 240), ids::kSplashMemoryFree);
  for (int i = 0; i < 3; ++i) {
    const double top = fy + 420 + i * 210;
    const auto n = static_cast<std::size_t>(i);
    HWND name = MakeLabel(hwnd_, SplashModel::kBarNames[n], in(fx + 120, top, 900, 195));
    // shpBar over shpFrame, both with the caption of lblResInfo.
    const RECT extent = in(fx + 1080, top, SplashModel::kMemoryBarFull, 195);
    HWND bar = MakeShape(hwnd_, RGB(0, 160, 80), extent, ids::SplashBar(i + 1),
                         SplashModel::kBarCaptions[n]);
    HWND frame = MakeTrack(hwnd_, extent, SplashModel::kBarCaptions[n]);
    bar_rows_[n] = {name, frame, bar};
    for (HWND w : bar_rows_[n]) ShowWindow(w, SW_HIDE);
  }
  HWND fra_info = MakeFrame(hwnd_, u"", in(fx, fy, kWidth - 240, 1080), ids::kSplashInfoFrame);
  ShowWindow(fra_info, SW_HIDE);
  EnableWindow(fra_info, FALSE);
  MakeFrame(hwnd_, SplashModel::kFrameCaption, in(0, 0, kWidth - 120, 4980));
}

void SplashWindow::Load() {
  Build();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  // The refresh runs from the start, on the shortest interval there is.
  SetTimerInterval(SplashModel::kTimerInterval);
  Step([this] { model_.Load(); });
}

void SplashWindow::PressClose() {
  PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(ids::kSplashExit, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, ids::kSplashExit)));
}

void SplashWindow::Show(std::uint32_t parts) {
  if (parts & SplashModel::kGrid) {
    grid_.SetColumnWidths(
        {twips_.X(SplashModel::kColumnWidths[0]), twips_.X(SplashModel::kColumnWidths[1])});
  }
  if (parts & (SplashModel::kGrid | SplashModel::kMemoryText)) {
    // A memory change touches rows 11 to 13 only.
    const int first = (parts & SplashModel::kGrid) ? 0 : 11;
    for (int r = first; r < SplashModel::kRows; ++r) {
      for (int c = 0; c < 2; ++c) grid_.SetCell(r, c, model_.cell(r, c));
    }
  }
  if (parts & SplashModel::kMemoryText)
    SetText(GetDlgItem(hwnd_, ids::kSplashMemoryFree), model_.memory_free());
  if (parts & SplashModel::kDiskBar) {
    SetText(GetDlgItem(hwnd_, ids::kSplashDiskPercent), model_.disk_percent());
    const double twips =
        std::clamp(model_.disk_bar_width().ToDouble(), 0.0, SplashModel::kDiskBarFull);
    SetShapeWidth(GetDlgItem(hwnd_, ids::kSplashDiskBar), twips_.X(twips));
  }
  if (parts & SplashModel::kInfoFrame) {
    HWND fra_info = GetDlgItem(hwnd_, ids::kSplashInfoFrame);
    EnableWindow(fra_info, model_.info_frame_shown() ? TRUE : FALSE);
    ShowWindow(fra_info, model_.info_frame_shown() ? SW_SHOWNA : SW_HIDE);
  }
  if (parts & SplashModel::kBarRows) {
    for (const auto& row : bar_rows_) {
      for (HWND w : row) ShowWindow(w, model_.bar_rows_visible() ? SW_SHOWNA : SW_HIDE);
    }
  }
  for (int i = 1; i <= 3; ++i) {
    if (!(parts & (SplashModel::kBar1 << (i - 1)))) continue;
    const int twips = std::clamp<int>(model_.bar_width(i), 0, SplashModel::kMemoryBarFull);
    SetShapeWidth(GetDlgItem(hwnd_, ids::SplashBar(i)), twips_.X(twips));
  }
}

LRESULT SplashWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_MEASUREITEM:
      if (grid_.Measure(*win32::FromInteger<MEASUREITEMSTRUCT*>(l))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (grid_.Draw(*win32::FromInteger<const DRAWITEMSTRUCT*>(l))) return TRUE;
      break;
    case WM_COMMAND:
      if (LOWORD(w) == ids::kSplashExit && HIWORD(w) == BN_CLICKED) {
        Run([this] { model_.Close(); });
        return 0;
      }
      break;
    case WM_CLOSE:
      // Any close rolls the window shut first; it unloads itself at the end of that.
      if (!unloaded_) Run([this] { model_.Close(); });
      return 0;
    default: break;
  }
  return ModelWindow::Handle(message, w, l);
}

}  // namespace velmora::win32ui
