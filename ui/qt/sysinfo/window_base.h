// What the two system-information windows share on Qt: the screen they ask about, and the
// surface their models drive (height, timer, pending events, unload).
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "qt/twips.h"
#include "velmora/sysinfo_windows.h"

class QGroupBox;
class QLabel;

namespace velmora::qt {

// The screen, device and mouse as a window sees them.
class QtWindowDisplay final : public WindowDisplay {
 public:
  explicit QtWindowDisplay(const QWidget* window) : window_(window) {}
  ScreenMetrics Screen() override;
  std::int32_t ColorPlanes() override { return 1; }
  std::int32_t BitsPerPixel() override;
  bool MousePresent() override;
  CursorPosition Cursor() override;

 private:
  const QWidget* window_;
};

// A grid cell's alignment as Qt spells it.
Qt::Alignment AlignmentOf(CellAlign a);

// The labels' font: MS Sans Serif 8 where it exists, a sans serif of the same measure elsewhere.
QFont LabelFont();

// Moves a frame's controls down together as far as the style's caption needs, so that none is
// drawn over the frame's border or its caption: the controls stand where the layout puts them
// below a caption band, which some styles and fonts draw taller. Called once the controls are
// made.
void KeepBelowCaption(QGroupBox* frame);

// A filled rectangle of a given colour: the windows' bars.
class ShapeBar final : public QWidget {
 public:
  ShapeBar(QWidget* parent, const QColor& fill);
};

// A top-level window driven by a model: the model sets its height and timer, lets pending
// events run, and unloads it. The window is destroyed once back in the event loop.
class SysInfoWindow : public QWidget, public WindowSurface {
  Q_OBJECT

 public:
  explicit SysInfoWindow(Qt::WindowFlags flags);

  void SetWidth(std::int16_t twips) override;
  void SetHeight(std::int16_t twips) override;
  void SetTimerInterval(std::int32_t ms) override;
  void ProcessPending() override;
  void Unload() override;

  // Whether the model has unloaded the window.
  bool unloaded() const { return unloaded_; }
  // Runs the model's loading steps; a failure destroys the window and reaches the caller.
  virtual void Load() = 0;
  // Presses the window's own closing button, as a person would.
  virtual void PressClose() = 0;

 signals:
  void Unloaded();

 protected:
  // The model's refresh, for the timer.
  virtual void Tick() = 0;
  // Runs a step of the model. The model may unload the window in the middle of a step, and
  // pending events run inside steps (the height effect): the window is destroyed only once no
  // step is under way.
  template <typename F>
  void Run(F&& step) {
    struct Depth {
      SysInfoWindow* w;
      explicit Depth(SysInfoWindow* window) : w(window) { ++w->depth_; }
      ~Depth() {
        if (--w->depth_ == 0 && w->unloaded_) w->deleteLater();
      }
    } depth(this);
    step();
  }
  // Sets a label's text only when it changed (a repaint is the dearest part of a tick).
  static void SetText(QLabel* label, const std::u16string& text);

  Twips twips_;
  QtWindowDisplay display_;
  QTimer* timer_;
  // Pixels the window is wider than the model's width, where its figures need more room.
  int extra_width_ = 0;
  bool unloaded_ = false;
  int depth_ = 0;  // model steps under way
};

}  // namespace velmora::qt
