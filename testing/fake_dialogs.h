// Fakes of the dialog services: a message box that records what it was shown and answers from a
// script, and an event pump that counts how often it was asked to run pending events.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "velmora/host.h"

namespace velmora::fakes {

// One box as the user would have seen it.
struct ShownBox {
  std::u16string text;
  std::u16string title;
  MsgIcon icon = MsgIcon::kNone;
  MsgButtons buttons = MsgButtons::kOk;
};

// Records every box and answers the next scripted button; with the script used up it answers
// the first button of the box (OK, Yes, Abort or Retry).
class ScriptedMessageBox final : public MessageBox {
 public:
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override;

  void Answer(MsgResult button) { script_.push_back(button); }
  const std::vector<ShownBox>& shown() const { return shown_; }

 private:
  std::deque<MsgResult> script_;
  std::vector<ShownBox> shown_;
};

// Counts the requests to run pending events and runs an optional hook on each, standing in for
// the host's own event handlers (a test reads the form's height there, or changes the form).
class CountingEventPump final : public EventPump {
 public:
  void ProcessPending() override {
    ++count_;
    if (on_pump) on_pump();
  }
  int count() const { return count_; }

  std::function<void()> on_pump;

 private:
  int count_ = 0;
};

}  // namespace velmora::fakes
