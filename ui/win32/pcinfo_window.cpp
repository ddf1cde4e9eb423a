// FrmPCInfo in Win32: the widgets of the information window, filled from its model.
#include <algorithm>

#include "win32/control_ids.h"
#include "win32/controls.h"
#include "win32/fonts.h"
#include "win32/shapes.h"
#include "win32/sysinfo_windows.h"

namespace velmora::win32ui {

namespace {

constexpr int kRowsHeightTwips = 3225;

// Frames, by their corner and size in twips of the client area.
struct Box {
  double x, y, w, h;
};
constexpr Box kFrame3{30, 30, 4065, 3495};
constexpr Box kFrame2{4110, 480, 3435, 1905};
constexpr Box kFrame1{4110, 2400, 3435, 3555};
constexpr Box kFrame4{1770, 3540, 2325, 1455};

}  // namespace

PcInfoWindow::PcInfoWindow(SystemQueries& sys, const LocaleData& loc)
    : model_(sys, display_, *this, loc),
      grid_(PcInfoModel::kRows,
            std::max(1, (Twips().Y(kRowsHeightTwips) - 4) / PcInfoModel::kRows)) {}

void PcInfoWindow::Build() {
  CreateNative(kPcInfoClass, u"Información del Sistema", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
               WS_EX_DLGMODALFRAME, twips_.X(PcInfoModel::kWidth), twips_.Y(PcInfoModel::kHeight),
               nullptr);
  width_px_ = twips_.X(PcInfoModel::kWidth);
  height_px_ = twips_.Y(PcInfoModel::kHeight);
  auto in = [this](const Box& f, double x, double y, double w, double h) {
    return twips_.Rect(f.x + x, f.y + y, w, h);
  };

  // Información General: the grid, its first row and column drawn as headings.
  grid_.Create(hwnd_, ids::kPcGrid, in(kFrame3, 30, 240, 4005, kRowsHeightTwips),
               {twips_.X(PcInfoModel::kColumnWidths[0]), twips_.X(PcInfoModel::kColumnWidths[1])});
  MakeFrame(hwnd_, PcInfoModel::kGeneralCaption, in(kFrame3, 0, 0, kFrame3.w, kFrame3.h));

  // Memoria: and Almacenaje: with their three lines and bars.
  BuildGroup(0, kFrame2.x, kFrame2.y, 240, RGB(255, 0, 0));
  MakeFrame(hwnd_, PcInfoModel::kMemoryCaption, in(kFrame2, 0, 0, kFrame2.w, kFrame2.h));
  SendMessageW(MakeLabel(hwnd_, PcInfoModel::kDriveCCaption, in(kFrame1, 90, 200, 1500, 240)),
               WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), 0);
  BuildGroup(1, kFrame1.x, kFrame1.y, 440, RGB(0, 0, 255));
  MakeControl(hwnd_, L"STATIC", u"", SS_ETCHEDHORZ, in(kFrame1, 60, 1770, 3315, 30));
  SendMessageW(MakeLabel(hwnd_, PcInfoModel::kDriveDCaption, in(kFrame1, 90, 1830, 1500, 240)),
               WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont()), 0);
  BuildGroup(2, kFrame1.x, kFrame1.y, 2070, RGB(0, 128, 0));
  MakeFrame(hwnd_, PcInfoModel::kStorageCaption, in(kFrame1, 0, 0, kFrame1.w, kFrame1.h));

  // Mouse: the live position.
  MakeLabel(hwnd_, PcInfoModel::kPositionCaption, in(kFrame4, 120, 300, 2085, 300));
  MakeLabel(hwnd_, u"", in(kFrame4, 60, 720, 2205, 300), ids::kPcMouse);
  MakeFrame(hwnd_, PcInfoModel::kMouseCaption, in(kFrame4, 0, 0, kFrame4.w, kFrame4.h));

  HWND txt_info =
      MakeControl(hwnd_, L"EDIT", PcInfoModel::kCompany, ES_READONLY | ES_AUTOHSCROLL | WS_BORDER,
                  twips_.Rect(30, 5640, 2310, 315));
  SendMessageW(txt_info, WM_SETFONT, reinterpret_cast<WPARAM>(SerifFont(7)), 0);
  MakeButton(hwnd_, PcInfoModel::kExit, twips_.Rect(2400, 5100, 1215, 855), ids::kPcExit);
}

void PcInfoWindow::BuildGroup(int group, double x, double y, double top, COLORREF colour) {
  auto r = [&](double left, double t, double w, double h) {
    return twips_.Rect(x + left, y + t, w, h);
  };
  auto id = [group](ids::GroupItem item) { return ids::PcGroup(group, item); };
  MakeLabel(hwnd_, PcInfoModel::kTotalCaption, r(90, top, 700, 240));
  MakeLabel(hwnd_, u"", r(800, top, 2500, 240), id(ids::kTotal));
  MakeLabel(hwnd_, PcInfoModel::kUsedCaption, r(90, top + 240, 800, 240));
  MakeLabel(hwnd_, u"", r(900, top + 240, 700, 240), id(ids::kUsedPercent));
  MakeLabel(hwnd_, PcInfoModel::kFreeCaption, r(1800, top + 240, 600, 240));
  MakeLabel(hwnd_, u"", r(2400, top + 240, 900, 240), id(ids::kFreePercent));
  MakeLabel(hwnd_, u"", r(90, top + 480, 1650, 240), id(ids::kUsed));
  MakeLabel(hwnd_, u"", r(1800, top + 480, 1550, 240), id(ids::kFree));

  // The bar in its bordered box, the tick marks and the scale 0, 50% and 100 under it.
  const double bar_top = top + 760;
  RECT bar = r(90, bar_top, 0, 225);
  MakeShape(hwnd_, colour, bar, id(ids::kBar));
  MakeOutline(hwnd_, r(75, bar_top - 15, PcInfoModel::kBarFull + 30, 255));
  for (int i = 0; i <= 10; ++i) {
    RECT tick = r(90 + PcInfoModel::kBarFull * i / 10, bar_top + 255, 0, i % 5 == 0 ? 90 : 45);
    tick.right = tick.left + 1;
    MakeControl(hwnd_, L"STATIC", u"", SS_BLACKRECT, tick);
  }
  MakeLabel(hwnd_, u"0", r(45, bar_top + 345, 400, 210));
  MakeLabel(hwnd_, u"50%", r(90 + PcInfoModel::kBarFull / 2 - 300, bar_top + 345, 600, 210), 0,
            SS_CENTER);
  MakeLabel(hwnd_, u"100", r(90 + PcInfoModel::kBarFull - 400, bar_top + 345, 445, 210), 0,
            SS_RIGHT);
}

void PcInfoWindow::Load() {
  Build();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  Step([this] { model_.Load(); });
}

void PcInfoWindow::PressClose() {
  PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(ids::kPcExit, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, ids::kPcExit)));
}

void PcInfoWindow::Show(std::uint32_t parts) {
  if (parts & PcInfoModel::kGrid) {
    for (int r = 0; r < PcInfoModel::kRows; ++r) {
      for (int c = 0; c < 2; ++c) grid_.SetCell(r, c, model_.cell(r, c));
    }
    SetText(GetDlgItem(hwnd_, ids::PcGroup(0, ids::kTotal)), model_.memory().total);
    SetText(GetDlgItem(hwnd_, ids::PcGroup(1, ids::kTotal)), model_.drive_c().total);
    SetText(GetDlgItem(hwnd_, ids::PcGroup(2, ids::kTotal)), model_.drive_d().total);
  }
  ShowGroup(0, model_.memory(), parts & PcInfoModel::kMemoryLabels,
            parts & PcInfoModel::kMemoryBar);
  ShowGroup(1, model_.drive_c(), parts & PcInfoModel::kDriveCLabels,
            parts & PcInfoModel::kDriveCBar);
  ShowGroup(2, model_.drive_d(), parts & PcInfoModel::kDriveDLabels,
            parts & PcInfoModel::kDriveDBar);
  if (parts & PcInfoModel::kMouse) SetText(GetDlgItem(hwnd_, ids::kPcMouse), model_.mouse());
}

void PcInfoWindow::ShowGroup(int group, const PcInfoModel::Figures& f, bool labels, bool bar) {
  if (labels) {
    SetText(GetDlgItem(hwnd_, ids::PcGroup(group, ids::kUsedPercent)), f.used_percent);
    SetText(GetDlgItem(hwnd_, ids::PcGroup(group, ids::kFreePercent)), f.free_percent);
    SetText(GetDlgItem(hwnd_, ids::PcGroup(group, ids::kUsed)), f.used);
    SetText(GetDlgItem(hwnd_, ids::PcGroup(group, ids::kFree)), f.free);
  }
  if (bar) {
    const double twips = std::clamp(f.bar_width.ToDouble(), 0.0, PcInfoModel::kBarFull);
    SetShapeWidth(GetDlgItem(hwnd_, ids::PcGroup(group, ids::kBar)), twips_.X(twips));
  }
}

LRESULT PcInfoWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_MEASUREITEM:
      if (grid_.Measure(*win32::FromInteger<MEASUREITEMSTRUCT*>(l))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (grid_.Draw(*win32::FromInteger<const DRAWITEMSTRUCT*>(l))) return TRUE;
      break;
    case WM_COMMAND:
      if (LOWORD(w) == ids::kPcExit && HIWORD(w) == BN_CLICKED) {
        Run([this] { model_.Finalizar(); });
        return 0;
      }
      break;
    case WM_CLOSE:
      // Only the close that follows "&Finalizar" is honoured, and that one the model does
      // itself: every other close request leaves the window open.
      return 0;
    default: break;
  }
  return ModelWindow::Handle(message, w, l);
}

}  // namespace velmora::win32ui
