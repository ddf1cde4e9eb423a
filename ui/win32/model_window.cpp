#include "win32/model_window.h"

#include <algorithm>

#include "win32/message_pump.h"

namespace velmora::win32ui {

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

void ModelWindow::ProcessPending() { win32::RunPendingMessages(); }

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
