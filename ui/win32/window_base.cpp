#include "win32/window_base.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "velmora/error.h"
#include "velmora/sysinfo.h"

namespace velmora::win32ui {

namespace {

constexpr const wchar_t* kShapeClass = L"VelmoraShape";

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The module this code lives in (the library, not the host's program): its window classes are
// its own.
HINSTANCE ThisModule() {
  static HINSTANCE module = [] {
    HMODULE m = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &m);
    return m;
  }();
  return module;
}

// The screen's pixels per inch, horizontally or vertically.
int ScreenDpi(int index) {
  HDC dc = GetDC(nullptr);
  int dpi = dc != nullptr ? GetDeviceCaps(dc, index) : 0;
  if (dc != nullptr) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

HFONT MakeFont(const wchar_t* face, int points, int weight) {
  LOGFONTW f{};
  f.lfHeight = -MulDiv(points, ScreenDpi(LOGPIXELSY), 72);
  f.lfWeight = weight;
  f.lfCharSet = DEFAULT_CHARSET;
  f.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(f.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&f);
}

constexpr const wchar_t* kFullWidth = L"VelmoraFullWidth";
constexpr const wchar_t* kOutlined = L"VelmoraOutlined";

// The filled rectangles: the colour is the window's user data. A caption (the window's text) is
// centred over the bar's full width, so that the part the bar covers and the part its track
// shows read as one text whatever the bar's width.
LRESULT CALLBACK ShapeProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      HBRUSH brush =
          CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      if (GetPropW(window, kOutlined) != nullptr)
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
      const std::u16string caption = TextOf(window);
      if (!caption.empty()) {
        RECT text = r;
        text.right = static_cast<LONG>(reinterpret_cast<INT_PTR>(GetPropW(window, kFullWidth)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ old = SelectObject(dc, LabelFont());
        DrawTextW(dc, Wide(caption), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      RemovePropW(window, kFullWidth);
      RemovePropW(window, kOutlined);
      return DefWindowProcW(window, message, w, l);
    default: return DefWindowProcW(window, message, w, l);
  }
}

std::atomic<int> windows_open{0};
std::vector<std::wstring> registered_classes;  // touched on the user-interface thread only

void RegisterClasses() {
  static const bool controls = [] {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX),
                             ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)controls;
  EnsureWindowClass(kShapeClass, ShapeProcedure);
}

}  // namespace

int LibraryWindowsOpen() { return windows_open.load(); }

void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, int background) {
  WNDCLASSW wc{};
  if (GetClassInfoW(ThisModule(), name, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.hInstance = ThisModule();
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  if (background >= 0) wc.hbrBackground = GetSysColorBrush(background);
  if (RegisterClassW(&wc) != 0) registered_classes.emplace_back(name);
}

void UnregisterWindowClasses() {
  if (windows_open.load() != 0) return;
  for (const std::wstring& name : registered_classes) UnregisterClassW(name.c_str(), ThisModule());
  registered_classes.clear();
}

Twips::Twips() : dpi_x_(ScreenDpi(LOGPIXELSX)), dpi_y_(ScreenDpi(LOGPIXELSY)) {}

int Twips::X(double twips) const { return static_cast<int>(std::lround(twips * dpi_x_ / 1440.0)); }
int Twips::Y(double twips) const { return static_cast<int>(std::lround(twips * dpi_y_ / 1440.0)); }

RECT Twips::Rect(double left, double top, double width, double height) const {
  const int x = X(left);
  const int y = Y(top);
  return RECT{x, y, x + X(width), y + Y(height)};
}

ScreenMetrics Win32WindowDisplay::Screen() {
  const double tpp_x = 1440.0 / ScreenDpi(LOGPIXELSX);
  const double tpp_y = 1440.0 / ScreenDpi(LOGPIXELSY);
  return {GetSystemMetrics(SM_CXSCREEN) * tpp_x, GetSystemMetrics(SM_CYSCREEN) * tpp_y, tpp_x,
          tpp_y};
}

std::int32_t Win32WindowDisplay::ColorPlanes() {
  HDC dc = GetDC(window_);
  const int planes = dc != nullptr ? GetDeviceCaps(dc, PLANES) : 1;
  if (dc != nullptr) ReleaseDC(window_, dc);
  return planes;
}

std::int32_t Win32WindowDisplay::BitsPerPixel() {
  HDC dc = GetDC(window_);
  const int bits = dc != nullptr ? GetDeviceCaps(dc, BITSPIXEL) : 0;
  if (dc != nullptr) ReleaseDC(window_, dc);
  return bits;
}

bool Win32WindowDisplay::MousePresent() { return GetSystemMetrics(SM_MOUSEPRESENT) != 0; }

CursorPosition Win32WindowDisplay::Cursor() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

HFONT LabelFont() {
  static HFONT font = MakeFont(L"MS Sans Serif", 8, FW_NORMAL);
  return font;
}

HFONT BoldFont() {
  static HFONT font = MakeFont(L"MS Sans Serif", 8, FW_BOLD);
  return font;
}

HFONT SmallFont() {
  static HFONT font = MakeFont(L"Tahoma", 7, FW_NORMAL);
  return font;
}

HFONT SerifFont(int points) {
  static HFONT seven = MakeFont(L"Times New Roman", 7, FW_NORMAL);
  static HFONT nine = MakeFont(L"Times New Roman", 9, FW_NORMAL);
  return points <= 7 ? seven : nine;
}

HWND MakeControl(HWND parent, const wchar_t* window_class, std::u16string_view text, DWORD style,
                 const RECT& r, int id) {
  RegisterClasses();
  const std::u16string t(text);
  // Controls that overlap (a bar over its track, a panel over the controls it hides) each paint
  // only what no sibling above them covers.
  HWND control =
      CreateWindowExW(0, window_class, Wide(t), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                      r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                      win32::FromInteger<HMENU>(id), ThisModule(), nullptr);
  if (control != nullptr)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(LabelFont()), 0);
  return control;
}

HWND MakeLabel(HWND parent, std::u16string_view text, const RECT& r, int id, DWORD align) {
  return MakeControl(parent, L"STATIC", text, align | SS_NOPREFIX | SS_CENTERIMAGE, r, id);
}

HWND MakeButton(HWND parent, std::u16string_view text, const RECT& r, int id) {
  return MakeControl(parent, L"BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP, r, id);
}

HWND MakeFrame(HWND parent, std::u16string_view caption, const RECT& r, int id) {
  // A frame lies under the controls drawn in it (they are made before it and so stand above it
  // in the order of siblings) and never paints over them.
  return MakeControl(parent, L"BUTTON", caption, BS_GROUPBOX | WS_CLIPSIBLINGS, r, id);
}

HWND MakeOutline(HWND parent, const RECT& r) {
  return MakeControl(parent, L"STATIC", u"", SS_BLACKFRAME, r);
}

HWND MakeShape(HWND parent, COLORREF colour, const RECT& r, int id, std::u16string_view caption) {
  HWND shape = MakeControl(parent, kShapeClass, caption, 0, r, id);
  if (shape != nullptr) {
    SetWindowLongPtrW(shape, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    SetPropW(shape, kFullWidth, win32::FromInteger<HANDLE>(r.right - r.left));
    InvalidateRect(shape, nullptr, TRUE);
  }
  return shape;
}

HWND MakeTrack(HWND parent, const RECT& r, std::u16string_view caption) {
  HWND track = MakeShape(parent, GetSysColor(COLOR_BTNFACE), r, 0, caption);
  if (track != nullptr) SetPropW(track, kOutlined, win32::FromInteger<HANDLE>(1));
  return track;
}

bool SetShapeWidth(HWND shape, int px) {
  RECT r;
  GetClientRect(shape, &r);
  if (r.right - r.left == px) return false;
  SetWindowPos(shape, nullptr, 0, 0, std::max(0, px), r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void SetText(HWND control, std::u16string_view text) {
  if (control == nullptr || TextOf(control) == text) return;
  const std::u16string t(text);
  SetWindowTextW(control, Wide(t));
}

std::u16string TextOf(HWND control) {
  const int n = GetWindowTextLengthW(control);
  if (n <= 0) return {};
  std::u16string text(static_cast<std::size_t>(n) + 1, u'\0');
  const int got = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()),
                                 static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(0, got)));
  return text;
}

// ---------------------------------------------------------------------------------------------
// Grid

void Grid::Create(HWND parent, int id, const RECT& r, const std::array<int, 2>& widths) {
  id_ = id;
  hwnd_ = MakeControl(parent, WC_LISTVIEWW, u"",
                      LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER |
                          LVS_SINGLESEL | WS_BORDER,
                      r, id);
  if (hwnd_ == nullptr) return;
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = widths[static_cast<std::size_t>(c)];
    column.iSubItem = c;
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c),
                 reinterpret_cast<LPARAM>(&column));
  }
  for (std::size_t row = 0; row < cells_.size(); ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void Grid::SetColumnWidths(const std::array<int, 2>& widths) {
  for (int c = 0; c < 2; ++c) {
    const int want = widths[static_cast<std::size_t>(c)];
    if (SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0) != want)
      SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(want, 0));
  }
}

void Grid::SetCell(int row, int column, const GridCell& cell) {
  GridCell& shown = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  if (shown.text == cell.text && shown.align == cell.align && shown.bold == cell.bold) return;
  shown = cell;
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(Wide(shown.text));
  SendMessageW(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  RECT r;
  if (ListView_GetItemRect(hwnd_, row, &r, LVIR_BOUNDS)) InvalidateRect(hwnd_, &r, FALSE);
}

bool Grid::Measure(MEASUREITEMSTRUCT& m) const {
  if (m.CtlType != ODT_LISTVIEW || static_cast<int>(m.CtlID) != id_) return false;
  m.itemHeight = static_cast<UINT>(std::max(1, row_height_));
  return true;
}

bool Grid::Draw(const DRAWITEMSTRUCT& d) const {
  if (d.CtlType != ODT_LISTVIEW || d.hwndItem != hwnd_) return false;
  const auto row = static_cast<std::size_t>(d.itemID);
  if (row >= cells_.size()) return true;
  HDC dc = d.hDC;
  int left = d.rcItem.left;
  SetBkMode(dc, TRANSPARENT);
  HPEN line = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old_pen = SelectObject(dc, line);
  for (std::size_t c = 0; c < 2; ++c) {
    const int width =
        static_cast<int>(SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
    RECT cell{left, d.rcItem.top, left + width, d.rcItem.bottom};
    // The first row and the first column are fixed, drawn as headings.
    const bool heading = row == 0 || c == 0;
    FillRect(dc, &cell, GetSysColorBrush(heading ? COLOR_BTNFACE : COLOR_WINDOW));
    MoveToEx(dc, cell.right - 1, cell.top, nullptr);
    LineTo(dc, cell.right - 1, cell.bottom - 1);
    LineTo(dc, cell.left - 1, cell.bottom - 1);
    const GridCell& g = cells_[row][c];
    HGDIOBJ old_font = SelectObject(dc, g.bold ? BoldFont() : LabelFont());
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    format |= g.align == CellAlign::kRight    ? DT_RIGHT
              : g.align == CellAlign::kCenter ? DT_CENTER
                                              : DT_LEFT;
    RECT text = cell;
    InflateRect(&text, -3, 0);
    DrawTextW(dc, Wide(g.text), static_cast<int>(g.text.size()), &text, format);
    SelectObject(dc, old_font);
    left += width;
  }
  SelectObject(dc, old_pen);
  DeleteObject(line);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Windows

NativeWindow::~NativeWindow() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);  // no message reaches a gone object
    DestroyWindow(hwnd_);
  }
}

void NativeWindow::CreateNative(const wchar_t* window_class, std::u16string_view title, DWORD style,
                                DWORD ex_style, int client_width, int client_height, HWND owner) {
  RegisterClasses();
  EnsureWindowClass(window_class, Procedure, COLOR_BTNFACE);
  HINSTANCE instance = ThisModule();
  RECT r{0, 0, client_width, client_height};
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  const std::u16string t(title);
  // Centred on the screen, as the forms open.
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  HWND made = CreateWindowExW(ex_style, window_class, Wide(t), style, x, y, w, h, owner, nullptr,
                              instance, this);
  if (made == nullptr) throw NoDisplayError();
}

LRESULT CALLBACK NativeWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<NativeWindow*>(win32::FromInteger<CREATESTRUCTW*>(l)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ++windows_open;
  }
  if (message == WM_NCDESTROY) --windows_open;
  auto* self = win32::FromInteger<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w, l);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(window, message, w, l);
  }
  // No exception crosses into the system's code that called us.
  try {
    return self->Handle(message, w, l);
  } catch (...) {
    return DefWindowProcW(window, message, w, l);
  }
}

LRESULT NativeWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      // Labels on the window's face colour (a read-only text box keeps a white face).
      HDC dc = win32::FromInteger<HDC>(static_cast<LONG_PTR>(w));
      auto* control = win32::FromInteger<HWND>(l);
      std::array<wchar_t, 16> cls{};
      GetClassNameW(control, cls.data(), static_cast<int>(cls.size()));
      if (lstrcmpiW(cls.data(), L"Edit") == 0) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default: return DefWindowProcW(hwnd_, message, w, l);
  }
}

void NativeWindow::SetClientSize(int width, int height) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModelWindow::SetWidth(std::int16_t twips) {
  const int px = std::max(0, twips_.X(twips));
  if (px == width_px_ || hwnd_ == nullptr) return;
  width_px_ = px;
  SetClientSize(width_px_, height_px_);
}

void ModelWindow::SetHeight(std::int16_t twips) {
  // Many steps of 5 twips fall on the same pixel; only a real change reaches the window.
  const int px = std::max(0, twips_.Y(twips));
  if (px == height_px_ || hwnd_ == nullptr) return;
  height_px_ = px;
  SetClientSize(width_px_, height_px_);
}

void ModelWindow::SetTimerInterval(std::int32_t ms) {
  if (hwnd_ == nullptr) return;
  if (ms <= 0) {
    KillTimer(hwnd_, 1);
  } else {
    SetTimer(hwnd_, 1, static_cast<UINT>(ms), nullptr);
  }
}

void ModelWindow::ProcessPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit request belongs to the host's own loop: put it back and stop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void ModelWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (hwnd_ == nullptr) return;
  KillTimer(hwnd_, 1);
  ShowWindow(hwnd_, SW_HIDE);
  if (depth_ == 0) DestroyWindow(hwnd_);  // otherwise when the step under way ends
}

LRESULT ModelWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  if (message == WM_TIMER && w == 1) {
    Run([this] { Tick(); });
    return 0;
  }
  return NativeWindow::Handle(message, w, l);
}

}  // namespace velmora::win32ui
