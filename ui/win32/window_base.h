// What the library's Win32 windows share: lengths in twips, the screen they ask about, fonts,
// the controls they are built of (labels, buttons, frames, filled rectangles, the grid) and a
// window whose messages reach a C++ object.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "velmora/sysinfo_windows.h"
#include "win32/win_api.h"

namespace velmora::win32ui {

// The library's windows that exist now. The library must stay loaded while there is one: its
// code answers their messages.
int LibraryWindowsOpen();
// Removes the library's window classes, once no window of theirs is left, so that a later load
// of the library (perhaps at another address) registers them afresh.
void UnregisterWindowClasses();
// Registers a window class of the library once (again after UnregisterWindowClasses).
void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, int background = -1);

// Twips to pixels, with the screen's pixels per inch.
class Twips {
 public:
  Twips();
  int X(double twips) const;
  int Y(double twips) const;
  // A rectangle given as left, top, width and height.
  RECT Rect(double left, double top, double width, double height) const;

 private:
  int dpi_x_;
  int dpi_y_;
};

// The screen, device and mouse as a window sees them: GetSystemMetrics, GetDeviceCaps of the
// window's device context, GetCursorPos.
class Win32WindowDisplay final : public WindowDisplay {
 public:
  explicit Win32WindowDisplay(const HWND& window) : window_(window) {}
  ScreenMetrics Screen() override;
  std::int32_t ColorPlanes() override;
  std::int32_t BitsPerPixel() override;
  bool MousePresent() override;
  CursorPosition Cursor() override;

 private:
  const HWND& window_;
};

// The labels' font, MS Sans Serif 8; the same bold; a serif font of the given points (Times New
// Roman).
HFONT LabelFont();
HFONT BoldFont();
// The small print of the splash window's disk box (7 points).
HFONT SmallFont();
HFONT SerifFont(int points);

// A child control at a rectangle of its parent's client area, in the labels' font.
HWND MakeControl(HWND parent, const wchar_t* window_class, std::u16string_view text, DWORD style,
                 const RECT& r, int id = 0);
HWND MakeLabel(HWND parent, std::u16string_view text, const RECT& r, int id = 0,
               DWORD align = SS_LEFT);
HWND MakeButton(HWND parent, std::u16string_view text, const RECT& r, int id);
HWND MakeFrame(HWND parent, std::u16string_view caption, const RECT& r, int id = 0);
// A box drawn as a black outline, or a line when one side is a pixel.
HWND MakeOutline(HWND parent, const RECT& r);
// A rectangle filled with one colour: the bars, with an optional caption centred over the
// rectangle's width as made (its full width).
HWND MakeShape(HWND parent, COLORREF colour, const RECT& r, int id,
               std::u16string_view caption = {});
// The outlined track a bar grows in, with the same caption as the bar.
HWND MakeTrack(HWND parent, const RECT& r, std::u16string_view caption);
// Sets a bar's width in pixels; false when it already had it.
bool SetShapeWidth(HWND shape, int px);

// Sets a control's text only when it changed (a repaint is the dearest part of a tick).
void SetText(HWND control, std::u16string_view text);
std::u16string TextOf(HWND control);

// The windows' grids: an owner-drawn list-view in report mode without headings, its first row
// and column drawn as headings, each cell with the alignment and weight its model gives.
class Grid {
 public:
  Grid(int rows, int row_height)
      : cells_(static_cast<std::size_t>(rows)), row_height_(row_height) {}
  void Create(HWND parent, int id, const RECT& r, const std::array<int, 2>& widths);
  void SetColumnWidths(const std::array<int, 2>& widths);
  // Copies a cell of the model; the list-view holds its text too.
  void SetCell(int row, int column, const GridCell& cell);
  // WM_MEASUREITEM and WM_DRAWITEM of this grid's list-view; false for another control's.
  bool Measure(MEASUREITEMSTRUCT& m) const;
  bool Draw(const DRAWITEMSTRUCT& d) const;
  HWND hwnd() const { return hwnd_; }

 private:
  std::vector<std::array<GridCell, 2>> cells_;
  int row_height_;
  int id_ = 0;
  HWND hwnd_ = nullptr;
};

// A top-level window whose messages go to a C++ object.
class NativeWindow {
 public:
  NativeWindow() = default;
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;
  virtual ~NativeWindow();

  HWND hwnd() const { return hwnd_; }

 protected:
  // Creates the window with a client area of the given pixels; raises the no-display error (5)
  // when the system makes no window (no display).
  void CreateNative(const wchar_t* window_class, std::u16string_view title, DWORD style,
                    DWORD ex_style, int client_width, int client_height, HWND owner);
  // A message of the window. The default answers the colours of labels and lets the system do
  // the rest.
  virtual LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  // Sets the size of the client area, keeping the frame around it.
  void SetClientSize(int width, int height);

  Twips twips_;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
};

// A system-information window driven by its model: the model sets its size and timer, lets
// pending events run and unloads it. The window is destroyed once no model step is under way;
// the object lives on until its owner lets it go (finished).
class ModelWindow : public NativeWindow, public WindowSurface {
 public:
  void SetWidth(std::int16_t twips) override;
  void SetHeight(std::int16_t twips) override;
  void SetTimerInterval(std::int32_t ms) override;
  void ProcessPending() override;
  void Unload() override;

  // Creates the window (hidden) and runs the model's loading steps; a failure reaches the
  // caller and leaves the window unloaded.
  virtual void Load() = 0;
  // Presses the window's own closing button, as a person would.
  virtual void PressClose() = 0;
  bool unloaded() const { return unloaded_; }
  // Unloaded and no model step under way: its owner may delete it.
  bool finished() const { return unloaded_ && depth_ == 0; }

 protected:
  LRESULT Handle(UINT message, WPARAM w, LPARAM l) override;
  // The model's refresh, for the timer.
  virtual void Tick() = 0;
  // Runs a step of the model: pending events run inside steps (the height effect) and the model
  // may unload the window in the middle of one, so the window is destroyed only when the
  // outermost step ends. A failure reaches the caller.
  template <typename F>
  void Step(F&& step) {
    struct Depth {
      ModelWindow* w;
      explicit Depth(ModelWindow* window) : w(window) { ++w->depth_; }
      Depth(const Depth&) = delete;
      Depth& operator=(const Depth&) = delete;
      ~Depth() {
        if (--w->depth_ == 0 && w->unloaded_ && w->hwnd_ != nullptr) DestroyWindow(w->hwnd_);
      }
    } depth(this);
    step();
  }
  // A step started by a click or a tick: its failure has no caller to reach, and the window
  // goes on (a refresh waits for the next tick).
  template <typename F>
  void Run(F&& step) {
    try {
      Step(std::forward<F>(step));
    } catch (...) {
    }
  }

  Win32WindowDisplay display_{hwnd_};
  bool unloaded_ = false;
  int depth_ = 0;
  int width_px_ = 0;
  int height_px_ = 0;
};

}  // namespace velmora::win32ui
