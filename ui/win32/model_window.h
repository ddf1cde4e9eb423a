// The system-information windows' common part: a window that its model drives.
#pragma once

#include <cstdint>
#include <utility>

#include "velmora/sysinfo_windows.h"
#include "win32/native_window.h"
#include "win32/window_display.h"

namespace velmora::win32ui {

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
