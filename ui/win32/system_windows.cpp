// The windows of System: one instance of each, modal or not.
#include <memory>
#include <vector>

#include "velmora/error.h"
#include "win32/modal_loop.h"
#include "win32/sysinfo_windows.h"
#include "win32/unattended.h"

namespace velmora::win32ui {

Win32SystemWindows::Win32SystemWindows(std::shared_ptr<SystemQueries> sys, LocaleData loc)
    : sys_(std::move(sys)), loc_(std::move(loc)) {}

Win32SystemWindows::~Win32SystemWindows() = default;

void Win32SystemWindows::Retire(std::unique_ptr<ModelWindow> window) {
  std::erase_if(retired_, [](const auto& w) { return w->finished(); });
  if (window && !window->finished()) retired_.push_back(std::move(window));
}

template <typename W>
void Win32SystemWindows::Show(std::unique_ptr<W>& slot, bool modal) {
  if (!slot || slot->unloaded()) {
    Retire(std::move(slot));
    auto window = std::make_unique<W>(*sys_, loc_);
    window->Load();  // a window whose loading failed is not loaded
    slot = std::move(window);
  } else {
    ShowWindow(slot->hwnd(), SW_SHOW);
    SetForegroundWindow(slot->hwnd());
  }
  const bool unattended = win32::UnattendedMode();
  if (!modal && !unattended) return;
  W* window = slot.get();
  if (unattended) {
    // Nobody is there to close it, modal or not: the window closes itself by its own button,
    // and the call returns once it has.
    win32::WriteStandardError(DescribeUnattendedClose(W::Model::kName, W::Model::kExit));
    window->PressClose();
  }
  RunModal(modal ? window->hwnd() : nullptr, [window] { return window->unloaded(); });
}

void Win32SystemWindows::ShowPcInfo(bool modal) { Show(pc_info_, modal); }
void Win32SystemWindows::ShowSplash(bool modal) { Show(splash_, modal); }

bool Win32SystemWindows::AnyOpen() const {
  return (pc_info_ && !pc_info_->unloaded()) || (splash_ && !splash_->unloaded());
}

void Win32SystemWindows::WaitWhileOpen() {
  while (AnyOpen()) {
    ModelWindow* w = pc_info_ && !pc_info_->unloaded() ? static_cast<ModelWindow*>(pc_info_.get())
                                                       : splash_.get();
    if (!RunModal(nullptr, [w] { return w->unloaded(); })) break;
  }
}

}  // namespace velmora::win32ui
