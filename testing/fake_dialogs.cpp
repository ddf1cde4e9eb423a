#include "fake_dialogs.h"

namespace velmora::fakes {

namespace {

MsgResult FirstButton(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::kOk:
    case MsgButtons::kOkCancel: return MsgResult::kOk;
    case MsgButtons::kAbortRetryIgnore: return MsgResult::kAbort;
    case MsgButtons::kYesNoCancel:
    case MsgButtons::kYesNo: return MsgResult::kYes;
    case MsgButtons::kRetryCancel: return MsgResult::kRetry;
  }
  return MsgResult::kOk;
}

}  // namespace

MsgResult ScriptedMessageBox::Show(std::u16string_view text, std::u16string_view title,
                                   MsgIcon icon, MsgButtons buttons) {
  shown_.push_back({std::u16string(text), std::u16string(title), icon, buttons});
  if (script_.empty()) return FirstButton(buttons);
  const MsgResult answer = script_.front();
  script_.pop_front();
  return answer;
}

}  // namespace velmora::fakes
