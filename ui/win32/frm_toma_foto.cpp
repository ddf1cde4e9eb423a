#include "win32/frm_toma_foto.h"

#include <commctrl.h>

#include "velmora/error.h"
#include "win32/control_ids.h"
#include "win32/controls.h"
#include "win32/gdi_bitmaps.h"
#include "win32/modal_loop.h"
#include "win32/unattended.h"
#include "win32/vfw_camera.h"
#include "win32/wide.h"
#include "win32/window_classes.h"

namespace velmora::win32ui {

namespace {

constexpr const wchar_t* kPanelClass = L"VelmoraPanel";
constexpr const wchar_t* kImageClass = L"VelmoraImage";
constexpr UINT_PTR kTimer1 = 1;

using namespace capture_layout;
using Place = ControlPlace;

// The selection panel passes its buttons' notices and colours to the form.
LRESULT CALLBACK PanelProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return SendMessageW(GetParent(window), message, w, l);
    default: return DefWindowProcW(window, message, w, l);
  }
}

// An image box that stretches its picture (a bitmap) to its own size; the bitmap is the
// window's user data and belongs to the picture the form keeps.
LRESULT CALLBACK ImageProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      auto* bitmap = win32::FromInteger<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
      BITMAP b{};
      if (bitmap != nullptr && GetObjectW(bitmap, sizeof b, &b) != 0) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, b.bmWidth, b.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      }
      EndPaint(window, &ps);
      return 0;
    }
    default: return DefWindowProcW(window, message, w, l);
  }
}

void RegisterClasses() {
  EnsureWindowClass(kPanelClass, PanelProcedure, COLOR_BTNFACE);
  EnsureWindowClass(kImageClass, ImageProcedure);
}

void SetPicture(HWND box, HBITMAP bitmap) {
  SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
  InvalidateRect(box, nullptr, FALSE);
}

// Shows or hides a control by its own visibility, whether or not the form is shown yet.
void ShowControl(HWND control, bool visible) {
  const bool shown = (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != visible) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

void FrmTomaFoto::Open(HWND owner) {
  RegisterClasses();
  CreateNative(kCaptureClass, CaptureWindow::kCaption, WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
               twips_.X(CaptureWindow::kClientWidth), twips_.Y(CaptureWindow::kClientHeight),
               owner);
  Build();
  CopyModel();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  // The live image follows the camera on the shortest timer, from load to unload.
  SetTimer(hwnd_, kTimer1, CaptureWindow::kTickMilliseconds, nullptr);
}

void FrmTomaFoto::Tip(HWND control, std::u16string_view text) {
  if (tips_ == nullptr || control == nullptr) return;
  const std::u16string t(text);
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = const_cast<wchar_t*>(win32::Wide(t));
  SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void FrmTomaFoto::Build() {
  auto r = [this](const Place& p, double dx = 0, double dy = 0) {
    return twips_.Rect(p.x + dx, p.y + dy, p.w, p.h);
  };
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                          nullptr, nullptr, nullptr);

  // The selection panel lies over everything else until the webcam is chosen.
  HWND panel =
      MakeControl(hwnd_, kPanelClass, u"", WS_CLIPCHILDREN,
                  twips_.Rect(0, 0, CaptureWindow::kClientWidth, CaptureWindow::kClientHeight),
                  ids::kPhotoPanel);
  HWND option1 =
      MakeControl(panel, L"BUTTON", CaptureWindow::kWebcamOption, BS_RADIOBUTTON | WS_TABSTOP,
                  r(kOption1, kFrame4.x, kFrame4.y), ids::kOption1);
  Tip(option1, CaptureWindow::kWebcamTip);
  HWND option2 =
      MakeControl(panel, L"BUTTON", CaptureWindow::kFileOption, BS_RADIOBUTTON | WS_TABSTOP,
                  r(kOption2, kFrame4.x, kFrame4.y), ids::kOption2);
  Tip(option2, CaptureWindow::kFileTip);
  MakeFrame(panel, u"", r(kFrame4));
  Tip(MakeButton(panel, CaptureWindow::kTakeButton, r(kCmdFoto), ids::kCmdFoto),
      CaptureWindow::kTakeTip);

  // Frame1: the live image, the captured still, the name, the folder and the status line.
  MakeLabel(hwnd_, CaptureWindow::kLiveTitle, r(kLabel3, kFrame1.x, kFrame1.y));
  MakeLabel(hwnd_, CaptureWindow::kStillTitle, r(kLabel4, kFrame1.x, kFrame1.y));
  auto picture_box = [&](const Place& p, int id) {
    RECT box = r(p, kFrame1.x, kFrame1.y);
    RECT inner = box;
    InflateRect(&inner, -2, -2);
    HWND image = MakeControl(hwnd_, kImageClass, u"", 0, inner, id);
    MakeControl(hwnd_, L"STATIC", u"", SS_SUNKEN, box);
    return image;
  };
  picture_box(kPicture1, ids::kImageTake);
  picture_box(kPicture2, ids::kImage1);
  MakeControl(hwnd_, L"EDIT", u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
              r(kText1, kFrame1.x, kFrame1.y), ids::kText1);
  MakeLabel(hwnd_, u"", r(kLabel1, kFrame1.x, kFrame1.y), ids::kLabel1);
  MakeLabel(hwnd_, u"", r(kLabel2, kFrame1.x, kFrame1.y), ids::kLabel2);
  MakeFrame(hwnd_, u"", r(kFrame1));

  // Frame2: the commands.
  Tip(MakeButton(hwnd_, CaptureWindow::kClickButton, r(kCommand1, kFrame2.x, kFrame2.y),
                 ids::kCommand1),
      CaptureWindow::kClickTip);
  Tip(MakeButton(hwnd_, CaptureWindow::kSaveButton, r(kCommand2, kFrame2.x, kFrame2.y),
                 ids::kCommand2),
      CaptureWindow::kSaveTip);
  Tip(MakeButton(hwnd_, CaptureWindow::kClearButton, r(kCommand3, kFrame2.x, kFrame2.y),
                 ids::kCommand3),
      CaptureWindow::kClearTip);
  MakeFrame(hwnd_, CaptureWindow::kCommandsFrame, r(kFrame2));
  // The panel stands above the rest.
  SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FrmTomaFoto::Act(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const Error*>(&e);
    const std::u16string text = error ? error->description(model_.services().locale.spanish)
                                      : std::u16string(u"Error inesperado");
    try {
      if (model_.services().message_box) {
        model_.services().message_box->Show(text, CaptureWindow::kFailureTitle, MsgIcon::kCritical,
                                            MsgButtons::kOk);
      }
    } catch (...) {
      // Nothing is left to tell the user with; the host goes on regardless.
    }
  }
  if (hwnd_ != nullptr) CopyModel();
}

void FrmTomaFoto::CopyModel() {
  const auto item = [this](int id) { return GetDlgItem(hwnd_, id); };
  HWND panel = item(ids::kPhotoPanel);
  ShowControl(panel, model_.panel_visible());
  const PhotoSource source = model_.source();
  SendMessageW(GetDlgItem(panel, ids::kOption1), BM_SETCHECK,
               source == PhotoSource::kWebcam ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(GetDlgItem(panel, ids::kOption2), BM_SETCHECK,
               source == PhotoSource::kFile ? BST_CHECKED : BST_UNCHECKED, 0);
  ShowControl(item(ids::kImage1), model_.still_visible());
  ShowControl(item(ids::kCommand2), model_.save_visible());
  ShowControl(item(ids::kCommand3), model_.clear_visible());
  ShowControl(item(ids::kLabel2), model_.status_visible());
  if (TextOf(item(ids::kText1)) != model_.name_text()) {
    copying_ = true;
    SetText(item(ids::kText1), model_.name_text());
    copying_ = false;
  }
  SetText(item(ids::kLabel1), model_.folder_text());
  SetText(item(ids::kLabel2), model_.status_text());
  if (model_.still_revision() != still_shown_) {
    still_shown_ = model_.still_revision();
    still_ = model_.still_picture();
    SetPicture(item(ids::kImage1), win32::BitmapOf(still_));
  }
  RefreshLive();
  if (model_.closing()) done_ = true;
}

void FrmTomaFoto::RefreshLive() {
  model_.Tick();
  // Redrawn only when a new frame came: between frames a tick costs a comparison.
  if (model_.live_revision() == live_shown_) return;
  live_shown_ = model_.live_revision();
  live_ = model_.live_picture();
  SetPicture(GetDlgItem(hwnd_, ids::kImageTake), win32::BitmapOf(live_));
}

void FrmTomaFoto::PressClose() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

LRESULT FrmTomaFoto::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_TIMER:
      if (w == kTimer1) {
        if (!done_) RefreshLive();
        return 0;
      }
      break;
    case WM_COMMAND: {
      if (done_) return 0;
      const int id = LOWORD(w);
      const UINT code = HIWORD(w);
      if (id == ids::kText1 && code == EN_CHANGE) {
        if (!copying_) {
          const std::u16string text = TextOf(GetDlgItem(hwnd_, ids::kText1));
          Act([&] { model_.EditName(text); });
        }
        return 0;
      }
      if (code != BN_CLICKED) break;
      switch (id) {
        case ids::kOption1: Act([this] { model_.SelectSource(PhotoSource::kWebcam); }); return 0;
        case ids::kOption2: Act([this] { model_.SelectSource(PhotoSource::kFile); }); return 0;
        case ids::kCmdFoto: Act([this] { model_.TakePhoto(); }); return 0;
        case ids::kCommand1: Act([this] { model_.Click(); }); return 0;
        case ids::kCommand2: Act([this] { model_.Save(); }); return 0;
        case ids::kCommand3: Act([this] { model_.Clear(); }); return 0;
        default: break;
      }
      break;
    }
    case WM_CLOSE:
      // The close box ends the window without touching the photo path.
      done_ = true;
      return 0;
    default: break;
  }
  return NativeWindow::Handle(message, w, l);
}

void Win32CaptureWindowHost::ShowModal(CaptureWindow& window) {
  auto* camera = dynamic_cast<win32::VfwCamera*>(window.services().camera.get());
  FrmTomaFoto view(window);
  view.Open(GetActiveWindow());
  if (camera != nullptr) camera->SetOwner(view.hwnd());
  if (win32::UnattendedMode()) {
    win32::WriteStandardError(DescribeUnattendedClose(CaptureWindow::kName, kCloseBox));
    view.PressClose();
  }
  RunModal(view.hwnd(), [&view] { return view.done(); });
  // The form goes now; the capture window it owned stays, without an owner, until the model's
  // unloading releases the camera.
  if (camera != nullptr) camera->SetOwner(nullptr);
}

}  // namespace velmora::win32ui
