// The library's own windows through COM, under Wine on a display (run.sh starts Xvfb): a client
// opens each window by calling System or PhotoWay by name, a test hook (a thread timer, which
// runs inside the window's modal loop as the host's own timers would) reads what the window
// shows, checks it against the model the window is drawn from, and closes the window through its
// own button.
//
// Usage: velmora_windows_test.exe [SCREENSHOT_FOLDER]. With a folder, each window is saved there
// as a bitmap once it is filled (win32-pcinfo.bmp, win32-splash.bmp, win32-capture.bmp, and the
// capture window's choice of source, win32-capture-source.bmp).
//
// Prints each failure and "SUMMARY windows: N checks, F failures"; the exit status is F.
// The common controls' header needs the Windows headers before it.
// clang-format off
#include "win32/win_api.h"
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "fake_sysinfo.h"
#include "harness.h"
#include "velmora/sysinfo_windows.h"
#include "win32/control_ids.h"
#include "win32/controls.h"
#include "win32/gdi_bitmaps.h"
#include "win32/nls_locale.h"
#include "win32/ole_picture.h"
#include "win32/system_queries.h"
#include "win32/twips.h"
#include "win32/wide.h"
#include "win32/window_display.h"

namespace {

using namespace velmora;
using namespace velmora::win32ui;
using namespace velmora::comtest;

std::wstring screenshots;  // the folder for the pictures of the windows, empty for none

// System(bModal, Nuevo) by name; "" once the window has closed, else the error.
std::u16string System(IDispatch* d, bool modal, bool nuevo) {
  return Call(d, u"System", Args().Bool(modal).Bool(nuevo)).text();
}

// PhotoWay(Nombre, Ruta) by name: the photo path, or the error.
std::u16string PhotoWay(IDispatch* d, std::u16string_view name, std::u16string_view folder) {
  return Call(d, u"PhotoWay", Args().Text(name).Text(folder)).text();
}

// ---------------------------------------------------------------------------------------------
// The hook: steps run one after the other on a thread timer, each until it says it is done.

std::vector<std::function<bool()>> steps;
std::size_t next_step = 0;

void CALLBACK HookTimer(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
  static bool running = false;
  if (running || next_step >= steps.size()) return;  // a step that pumps messages itself
  running = true;
  if (steps[next_step]()) ++next_step;
  running = false;
}

// Runs these steps while it lives.
class Hook {
 public:
  explicit Hook(std::vector<std::function<bool()>> s) {
    steps = std::move(s);
    next_step = 0;
    timer_ = SetTimer(nullptr, 0, 30, HookTimer);
  }
  Hook(const Hook&) = delete;
  Hook& operator=(const Hook&) = delete;
  ~Hook() { KillTimer(nullptr, timer_); }

 private:
  UINT_PTR timer_;
};

bool HookFinished() { return next_step >= steps.size(); }

// Runs the thread's messages for a while, or until `until` holds.
void Pump(DWORD ms, const std::function<bool()>& until = {}) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    if (until && until()) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

std::u16string Cell(HWND list, int row, int column) {
  std::vector<wchar_t> buffer(512, L'\0');
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  const auto n = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                              reinterpret_cast<LPARAM>(&item));
  return win32::FromWide(buffer.data(), static_cast<std::size_t>(n));
}

int ClientWidth(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return r.right - r.left;
}

int ClientHeight(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return r.bottom - r.top;
}

bool Visible(HWND w) { return w != nullptr && IsWindowVisible(w) != FALSE; }

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// Saves what the screen shows of the window's client area (the frame is the window manager's) as
// a bitmap file in the screenshot folder.
void Screenshot(HWND window, const wchar_t* name) {
  if (screenshots.empty()) return;
  RECT r{};
  GetClientRect(window, &r);
  POINT corner{0, 0};
  ClientToScreen(window, &corner);
  const int w = r.right;
  const int h = r.bottom;
  r.left = corner.x;
  r.top = corner.y;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  IPictureDisp* picture = nullptr;
  if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE,
                                      reinterpret_cast<void**>(&picture)))) {
    DeleteObject(bitmap);
    return;
  }
  const ObjectRef ref = std::make_shared<win32::OlePicture>(picture);
  const std::vector<std::uint8_t> file = win32::GdiBitmapEncoder().BitmapFile(ref);
  const std::wstring path = screenshots + L"\\" + name;
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
  CloseHandle(out);
}

struct Reference {
  win32::WindowsSystemQueries sys;
  HWND screen = nullptr;
  Win32WindowDisplay display{screen};
  fakes::RecordingSurface surface;  // the reference models compute; nothing is drawn
  LocaleData loc = win32::NlsLocaleData();
  Twips twips;
};

// ---------------------------------------------------------------------------------------------
// FrmPCInfo

void PcInfoModal(IDispatch* d, Reference& ref) {
  PcInfoModel model(ref.sys, ref.display, ref.surface, ref.loc);
  model.Load();
  SetCursorPos(200, 150);
  // A window of the host, which a modal window disables while it is open.
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, nullptr, nullptr, nullptr);
  bool host_disabled = false;
  bool clicked = false;
  HWND seen = nullptr;
  const Hook hook({
      [&] {
        HWND w = FindWindowW(kPcInfoClass, nullptr);
        if (!Visible(w)) return false;
        seen = w;
        host_disabled = IsWindowEnabled(host) == FALSE;
        HWND grid = GetDlgItem(w, ids::kPcGrid);
        for (int r = 0; r < PcInfoModel::kRows; ++r) {
          for (int c = 0; c < 2; ++c) {
            CheckText(Cell(grid, r, c), model.cell(r, c).text,
                      "FrmPCInfo grid row " + std::to_string(r) + " column " + std::to_string(c));
          }
        }
        const PcInfoModel::Figures* groups[] = {&model.memory(), &model.drive_c(),
                                                &model.drive_d()};
        for (int g = 0; g < 3; ++g) {
          CheckText(TextOf(GetDlgItem(w, ids::PcGroup(g, ids::kTotal))), groups[g]->total,
                    "FrmPCInfo total label of group " + std::to_string(g));
        }
        // The prefix has no drive D: its row and total say so instead of showing figures.
        if (GetDriveTypeW(L"D:\\") == DRIVE_NO_ROOT_DIR) {
          CheckText(Cell(grid, 12, 1), PcInfoModel::kNoDrive, "row 12 without a drive D");
          CheckText(TextOf(GetDlgItem(w, ids::PcGroup(2, ids::kUsedPercent))), u"",
                    "no percentage for a drive D that is not there");
        }
        Check(ClientWidth(w) == ref.twips.X(PcInfoModel::kWidth),
              "FrmPCInfo is 7635 twips wide at the screen's pixels per inch");
        Check(ClientHeight(w) == ref.twips.Y(PcInfoModel::kHeight), "FrmPCInfo is 6075 twips high");
        CheckText(TextOf(GetDlgItem(w, ids::kPcExit)), PcInfoModel::kExit, "CmdSalir caption");
        // The system's close command is refused while "&Finalizar" has not been pressed.
        PostMessageW(w, WM_CLOSE, 0, 0);
        return true;
      },
      [&, start = ULONGLONG{0}]() mutable {
        // A refresh or two (a slow machine gets some seconds for the first).
        if (start == 0) start = GetTickCount64();
        HWND w = FindWindowW(kPcInfoClass, nullptr);
        const bool refreshed = !TextOf(GetDlgItem(w, ids::kPcMouse)).empty();
        if (GetTickCount64() - start < (refreshed ? 400 : 10000)) return false;
        Check(Visible(w), "FrmPCInfo stays open after a close request of its own");
        CheckText(TextOf(GetDlgItem(w, ids::kPcMouse)), u"     X = 200,  Y = 150",
                  "LblMouse follows the cursor");
        // The drive C figures on screen are the model's (the drive barely changes meanwhile).
        const int bar = [&] {
          RECT r{};
          GetClientRect(GetDlgItem(w, ids::PcGroup(1, ids::kBar)), &r);
          return static_cast<int>(r.right);
        }();
        const int expected = ref.twips.X(model.drive_c().bar_width.ToDouble());
        Check(bar >= expected - 1 && bar <= expected + 1, "drive C bar is " + std::to_string(bar) +
                                                              " px, the model's " +
                                                              std::to_string(expected));
        Check(TextOf(GetDlgItem(w, ids::PcGroup(0, ids::kUsedPercent))).ends_with(u" %"),
              "memory used percentage");
        Screenshot(w, L"win32-pcinfo.bmp");
        clicked = true;
        Click(GetDlgItem(w, ids::kPcExit));
        return true;
      },
  });
  const std::u16string r = System(d, true, true);
  CheckText(r, u"", "System modal of FrmPCInfo returns without error");
  Check(HookFinished() && clicked, "System(True, True) returns only after \"&Finalizar\"");
  Check(seen != nullptr && !IsWindow(seen), "FrmPCInfo is destroyed when it has closed");
  Check(host_disabled, "the host's window is disabled while FrmPCInfo is open modally");
  Check(IsWindowEnabled(host) != FALSE, "the host's window is enabled again afterwards");
  DestroyWindow(host);
}

void PcInfoModeless(IDispatch* d) {
  CheckText(System(d, false, true), u"", "System(False, True)");
  HWND w = FindWindowW(kPcInfoClass, nullptr);
  Check(Visible(w), "System(False, True) returns with FrmPCInfo open");
  CheckText(System(d, false, true), u"", "System(False, True) again");
  Check(FindWindowW(kPcInfoClass, nullptr) == w, "a loaded FrmPCInfo is shown, not loaded again");
  Click(GetDlgItem(w, ids::kPcExit));
  Pump(20000, [w] { return !IsWindow(w); });
  Check(!IsWindow(w), "\"&Finalizar\" shrinks FrmPCInfo and unloads it");
  // A later call loads a fresh window.
  CheckText(System(d, false, true), u"", "System after an unload");
  HWND fresh = FindWindowW(kPcInfoClass, nullptr);
  Check(Visible(fresh) && fresh != w, "a fresh FrmPCInfo after the first unloaded");
  Click(GetDlgItem(fresh, ids::kPcExit));
  Pump(20000, [fresh] { return !IsWindow(fresh); });
  Check(!IsWindow(fresh), "the fresh FrmPCInfo closes");
}

// ---------------------------------------------------------------------------------------------
// frmSplashSys

void SplashModal(IDispatch* d, Reference& ref) {
  SplashModel model(ref.sys, ref.display, ref.surface, ref.loc);
  model.Load();
  bool clicked = false;
  const Hook hook({
      [&] {
        HWND w = FindWindowW(kSplashClass, nullptr);
        // Rolled open to its full height first.
        if (!Visible(w) || ClientHeight(w) < ref.twips.Y(SplashModel::kOpenHeight)) return false;
        HWND grid = GetDlgItem(w, ids::kSplashGrid);
        for (int r = 0; r < SplashModel::kRows; ++r) {
          CheckText(Cell(grid, r, 0), model.cell(r, 0).text,
                    "frmSplashSys label of row " + std::to_string(r));
        }
        // Rows 0 to 9 and the memory total hold still; the free space and the memory in use
        // move while the test runs.
        for (int r : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11}) {
          CheckText(Cell(grid, r, 1), model.cell(r, 1).text,
                    "frmSplashSys value of row " + std::to_string(r));
        }
        CheckText(TextOf(GetDlgItem(w, ids::kSplashDiskPercent)), model.disk_percent(),
                  "Label4, the share of the drive in use");
        RECT r{};
        GetClientRect(GetDlgItem(w, ids::kSplashDiskBar), &r);
        Check(r.right == ref.twips.X(model.disk_bar_width().ToDouble()),
              "Shape1 is the model's width");
        Check(Visible(GetDlgItem(w, ids::kSplashInfoFrame)), "fraInfo shown once loaded");
        Check(TextOf(GetDlgItem(w, ids::kSplashMemoryFree))
                  .starts_with(u"Memoria Física Disponible: "),
              "lblInfo(6) after the first refresh");
        for (int i = 1; i <= 3; ++i) {
          HWND bar = GetDlgItem(w, ids::SplashBar(i));
          GetClientRect(bar, &r);
          Check(Visible(bar) && r.right <= ref.twips.X(SplashModel::kMemoryBarFull),
                "memory bar " + std::to_string(i) + " shown within its frame");
        }
        Screenshot(w, L"win32-splash.bmp");
        clicked = true;
        Click(GetDlgItem(w, ids::kSplashExit));
        return true;
      },
  });
  const std::u16string r = System(d, true, false);
  CheckText(r, u"", "System modal of frmSplashSys");
  Check(HookFinished() && clicked, "System(True, False) returns only after \"&Salir\"");
  Check(FindWindowW(kSplashClass, nullptr) == nullptr, "frmSplashSys unloaded after \"&Salir\"");
}

void SplashClosedBySystem(IDispatch* d, Reference& ref) {
  CheckText(System(d, false, false), u"", "System(False, False)");
  HWND w = FindWindowW(kSplashClass, nullptr);
  Check(Visible(w), "System(False, False) returns with frmSplashSys open");
  Check(ClientHeight(w) == ref.twips.Y(SplashModel::kOpenHeight),
        "frmSplashSys has rolled open to 5040 twips");
  // Any close rolls it shut and unloads it.
  PostMessageW(w, WM_CLOSE, 0, 0);
  Pump(20000, [w] { return !IsWindow(w); });
  Check(!IsWindow(w), "the system's close command closes frmSplashSys");
}

// ---------------------------------------------------------------------------------------------
// FrmTomaFoto

HWND Capture() { return FindWindowW(kCaptureClass, nullptr); }
HWND Item(int id) {
  HWND w = Capture();
  HWND panel = GetDlgItem(w, ids::kPhotoPanel);
  HWND in_panel = GetDlgItem(panel, id);
  return in_panel != nullptr ? in_panel : GetDlgItem(w, id);
}

// Hook steps: once the capture window shows, choose the webcam and take the photo; close the
// window by its close box.
bool ChooseWebcam() {
  if (!Visible(Capture())) return false;
  Click(Item(ids::kOption1));
  Click(Item(ids::kCmdFoto));
  return true;
}

bool CloseCapture() {
  if (!Visible(Capture())) return false;
  PostMessageW(Capture(), WM_CLOSE, 0, 0);
  return true;
}

void SetUnattended(bool on) { SetEnvironmentVariableW(L"VELMORA_UNATTENDED", on ? L"1" : L"0"); }

// The stages of the window without a camera: choosing, the message for no source, live,
// captured, cleared; closed by its close box, which leaves the photo path as it was.
void CaptureStages(IDispatch* d) {
  const Hook hook({
      [&] {
        if (!Visible(Capture())) return false;
        HWND w = Capture();
        CheckText(TextOf(w), u"Cámara Fotográfica", "FrmTomaFoto caption");
        CheckText(TextOf(Item(ids::kText1)), u"JUAN", "Text1 holds the trimmed, upper-cased name");
        CheckText(TextOf(Item(ids::kLabel1)), u"C:\\NO\\EXISTE", "Label1 holds the folder");
        Check(Visible(Item(ids::kPhotoPanel)), "the selection panel is shown on load");
        Check(SendMessageW(Item(ids::kOption1), BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
                  SendMessageW(Item(ids::kOption2), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
              "no source is selected on load");
        Check(!Visible(Item(ids::kImage1)) && !Visible(Item(ids::kCommand2)) &&
                  !Visible(Item(ids::kCommand3)),
              "no still and no save buttons on load");
        CheckText(TextOf(Item(ids::kCmdFoto)), u"Tomar Fotografía ...", "CmdFoto caption");
        Screenshot(w, L"win32-capture-source.bmp");
        // No source: the message (answered unattended), and the panel stays.
        SetUnattended(true);
        Click(Item(ids::kCmdFoto));
        return true;
      },
      [&] {
        Check(Visible(Item(ids::kPhotoPanel)), "no source chosen: the panel stays");
        Click(Item(ids::kOption1));
        Click(Item(ids::kCmdFoto));
        return true;
      },
      [&] {
        Check(!Visible(Item(ids::kPhotoPanel)), "the webcam chosen: the panel is hidden");
        Check(Visible(Item(ids::kCommand1)) && !Visible(Item(ids::kCommand2)) &&
                  !Visible(Item(ids::kCommand3)),
              "live: only \"Click\" among the commands");
        Click(Item(ids::kCommand1));
        return true;
      },
      [&] {
        Check(Visible(Item(ids::kImage1)) && Visible(Item(ids::kCommand2)) &&
                  Visible(Item(ids::kCommand3)),
              "a still taken (none without a camera): Guardar and Limpiar shown");
        Screenshot(Capture(), L"win32-capture.bmp");
        Click(Item(ids::kCommand3));
        return true;
      },
      [&] {
        Check(!Visible(Item(ids::kImage1)) && !Visible(Item(ids::kCommand2)),
              "Limpiar hides the still and the save buttons");
        // Guardar into a folder that does not exist, with no picture: reported (unattended,
        // on the standard error), and the window stays.
        Click(Item(ids::kCommand1));
        Click(Item(ids::kCommand2));
        return true;
      },
      [&] {
        Check(Visible(Capture()), "a failed Guardar leaves the window open");
        SetUnattended(false);
        PostMessageW(Capture(), WM_CLOSE, 0, 0);
        return true;
      },
  });
  const std::u16string r = PhotoWay(d, u" juan ", u"c:\\no\\existe");
  SetUnattended(false);
  Check(HookFinished(), "PhotoWay returns only once its window has closed");
  CheckText(r, u"", "the close box leaves the photo path as it was");
  Check(Capture() == nullptr, "FrmTomaFoto is gone after PhotoWay");
}

// The webcam chosen while a photo is stored for the name: its path, even when the window is
// then closed by its close box.
void CaptureExistingPhoto(IDispatch* d) {
  CreateDirectoryW(L"C:\\FOTOS", nullptr);
  HANDLE f = CreateFileW(L"C:\\FOTOS\\ANA.JPG", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(f);
  const std::u16string r = [d] {
    const Hook hook({ChooseWebcam, CloseCapture});
    return PhotoWay(d, u"ana", u"C:\\FOTOS");
  }();
  CheckText(r, u"C:\\FOTOS\\ANA.Jpg", "webcam mode with a stored photo returns its path");
  // The next call closed at once returns the same path again.
  const Hook close({CloseCapture});
  const std::u16string second = PhotoWay(d, u"otro", u"C:\\FOTOS");
  CheckText(second, u"C:\\FOTOS\\ANA.Jpg", "a call closed at once returns the previous path");
}

// A name edited in Text1 before "Guardar" is the one stored under; a photo already stored
// under it brings the replace question (answered No when unattended): nothing is written and
// the stored photo's path is returned.
void CaptureKeepStoredPhoto(IDispatch* d) {
  const Hook hook({
      ChooseWebcam,
      [&] {
        SetWindowTextW(Item(ids::kText1), L"ana");
        SetUnattended(true);
        Click(Item(ids::kCommand1));
        Click(Item(ids::kCommand2));
        return true;
      },
  });
  const std::u16string r = PhotoWay(d, u"otro", u"C:\\FOTOS");
  SetUnattended(false);
  Check(HookFinished(), "the replace question answered No closes the window");
  CheckText(r, u"C:\\FOTOS\\ana.jpg", "the edited name's stored photo is returned");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(L"C:\\FOTOS\\ANA.JPG", GetFileExInfoStandard, &data);
  Check(data.nFileSizeLow == 0, "the stored photo is left as it was");
}

// A file chosen in the open-file dialog (the system's own, driven like a person would).
void CaptureFromFile(IDispatch* d) {
  std::u16string title;
  std::u16string filter;
  const Hook hook({
      [&] {
        if (!Visible(Capture())) return false;
        Click(Item(ids::kOption2));
        Click(Item(ids::kCmdFoto));
        return true;
      },
      [&] {
        HWND dialog = FindWindowW(L"#32770", L"Busca la Fotografía del Usuario");
        if (!Visible(dialog)) return false;
        title = TextOf(dialog);
        // The file name box (edt1, or the combo cmb13 of the newer dialogs) and the filter (cmb1).
        HWND name = GetDlgItem(dialog, 0x480);
        if (name == nullptr) name = GetDlgItem(dialog, 0x47c);
        HWND types = GetDlgItem(dialog, 0x470);
        std::vector<wchar_t> buffer(256, L'\0');
        SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
        filter = win32::FromWide(buffer.data());
        SetWindowTextW(name, L"C:\\Ponderix\\Fotos\\JUAN.BMP");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return true;
      },
  });
  const std::u16string r = PhotoWay(d, u"pedro", u"C:\\FOTOS");
  CheckText(title, u"Busca la Fotografía del Usuario", "the open-file dialog's title");
  CheckText(filter, u"Fotografías ", "the open-file dialog's filter");
  CheckText(r, u"C:\\Ponderix\\Fotos\\JUAN.BMP", "a chosen file is returned where it lies");
}

// Names typed into the name box that would leave the folder, name a stream or a device of
// Windows: "Guardar" shows why each is no photo name (in a real message box, read and closed
// here), saves nothing, and the window stays for the next try. (Every kind of name refused is the
// core's test of the capture window; here one of each reason meets the real disk.)
void CaptureRefusesPathsAsNames(IDispatch* d) {
  CreateDirectoryW(L"C:\\DENTRO", nullptr);
  CreateDirectoryW(L"C:\\DENTRO\\FOTOS", nullptr);
  struct Case {
    const wchar_t* typed;
    const char16_t* why;
  };
  static const Case kCases[] = {
      {L"..\\x", u"lleva / o \\, que separan carpetas"},
      {L"a:b", u"lleva alguno de los caracteres : * ? \" < > |"},
      {L"CON", u"es el nombre de un dispositivo de Windows (CON, PRN, AUX, NUL, COM1, LPT1...)"},
  };
  std::size_t next = 0;
  std::vector<std::u16string> shown(std::size(kCases));
  std::vector<bool> stayed(std::size(kCases), false);
  std::vector<std::function<bool()>> plan = {
      ChooseWebcam,
      [&] {
        Click(Item(ids::kCommand1));
        return true;
      },
  };
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    plan.push_back([&, i] {
      SetWindowTextW(Item(ids::kText1), kCases[i].typed);
      Click(Item(ids::kCommand2));
      return true;
    });
    plan.push_back([&, i] {
      HWND box = FindWindowW(L"#32770", L"Cámara Fotográfica");
      if (!Visible(box)) return false;
      shown[i] = TextOf(GetDlgItem(box, 0xFFFF));
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      next = i + 1;
      return true;
    });
    plan.push_back([&, i] {
      if (IsWindow(FindWindowW(L"#32770", L"Cámara Fotográfica"))) return false;
      stayed[i] = Visible(Capture()) && Visible(Item(ids::kCommand2));
      return true;
    });
  }
  plan.push_back([&] {
    PostMessageW(Capture(), WM_CLOSE, 0, 0);
    return true;
  });
  const Hook hook(std::move(plan));
  const std::u16string r = PhotoWay(d, u"ana", u"C:\\DENTRO\\FOTOS");
  Check(HookFinished() && next == std::size(kCases), "every name was tried");
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const std::string typed = Narrow(std::wstring_view(kCases[i].typed));
    CheckText(shown[i],
              u"El nombre de la fotografía no es válido: " + std::u16string(kCases[i].why) + u".",
              "the message for " + typed);
    Check(stayed[i], "the window stays after refusing " + typed);
  }
  CheckText(r, u"C:\\Ponderix\\Fotos\\JUAN.BMP", "the photo path stays as it was");
  WIN32_FIND_DATAW found{};
  HANDLE h = FindFirstFileW(L"C:\\DENTRO\\FOTOS\\*", &found);
  int entries = 0;
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
        ++entries;
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  Check(entries == 0, "nothing was saved in the folder");
  Check(GetFileAttributesW(L"C:\\DENTRO\\x.jpg") == INVALID_FILE_ATTRIBUTES,
        "nothing was saved beside it");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) screenshots = argv[1];
  CoInitialize(nullptr);
  SetUnattended(false);
  IDispatch* d = Create(L"VelmoraSys.Dolva");
  Check(d != nullptr, "VelmoraSys.Dolva created");
  if (d == nullptr) return Summary("windows");
  {
    Reference ref;
    PcInfoModal(d, ref);
    PcInfoModeless(d);
    SplashModal(d, ref);
    SplashClosedBySystem(d, ref);
    CaptureStages(d);
    CaptureExistingPhoto(d);
    CaptureKeepStoredPhoto(d);
    CaptureFromFile(d);
    CaptureRefusesPathsAsNames(d);
  }
  d->Release();
  CoUninitialize();
  return Summary("windows");
}
