// FrmTomaFoto, the photo capture window, in Win32 over the toolkit-free CaptureWindow, and the
// service that shows it for PhotoWay.
#pragma once

#include <cstdint>
#include <functional>

#include "velmora/photo.h"
#include "win32/native_window.h"

namespace velmora::win32ui {

// Builds the controls with the captions and tips of the window and copies the model's state into
// them after every user action and every timer tick. The window is done when the model asks to
// close or when its close box is used (which leaves the photo path alone).
class FrmTomaFoto final : public NativeWindow {
 public:
  explicit FrmTomaFoto(CaptureWindow& model) : model_(model) {}

  // Makes and shows the window over `owner`; 5 when no window can be made.
  void Open(HWND owner);
  bool done() const { return done_; }
  // The close box, as a person would use it.
  void PressClose();

 protected:
  LRESULT Handle(UINT message, WPARAM w, LPARAM l) override;

 private:
  void Build();
  // Runs a user action on the model; a failure that escapes it is told to the user, never to
  // the host.
  void Act(const std::function<void()>& action);
  void CopyModel();
  void RefreshLive();
  void Tip(HWND control, std::u16string_view text);

  CaptureWindow& model_;
  HWND tips_ = nullptr;
  bool done_ = false;
  bool copying_ = false;  // the name box is being set from the model, not edited
  std::uint64_t live_shown_ = ~0ULL;
  std::uint64_t still_shown_ = ~0ULL;
  ObjectRef live_;  // the pictures the image boxes draw, kept while they draw them
  ObjectRef still_;
};

// Shows FrmTomaFoto modally over the active window. Unattended (VELMORA_UNATTENDED) the window
// closes itself by its close box once loaded, and says so on the standard error.
class Win32CaptureWindowHost final : public CaptureWindowHost {
 public:
  void ShowModal(CaptureWindow& window) override;
};

}  // namespace velmora::win32ui
