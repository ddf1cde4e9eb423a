#include "qt/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace velmora::qt {

namespace {

using Std = QMessageBox::StandardButton;

const std::pair<Std, MsgResult> kButtons[] = {
    {QMessageBox::Ok, MsgResult::kOk},         {QMessageBox::Cancel, MsgResult::kCancel},
    {QMessageBox::Abort, MsgResult::kAbort},   {QMessageBox::Retry, MsgResult::kRetry},
    {QMessageBox::Ignore, MsgResult::kIgnore}, {QMessageBox::Yes, MsgResult::kYes},
    {QMessageBox::No, MsgResult::kNo},
};

Std ToStd(MsgResult r) {
  for (const auto& [qt_button, result] : kButtons) {
    if (result == r) return qt_button;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::kNone: return QMessageBox::NoIcon;
    case MsgIcon::kCritical: return QMessageBox::Critical;
    case MsgIcon::kQuestion: return QMessageBox::Question;
    case MsgIcon::kExclamation: return QMessageBox::Warning;
    case MsgIcon::kInformation: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// Message texts break lines with CR LF; a Qt label breaks on LF alone.
QString ToDisplay(std::u16string_view text) {
  QString s = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return s;
}

}  // namespace

QtMessageBox::QtMessageBox(std::shared_ptr<const GuiSession> gui,
                           std::shared_ptr<MessageBox> fallback)
    : gui_(std::move(gui)), fallback_(std::move(fallback)) {}

MsgResult QtMessageBox::Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                             MsgButtons buttons) {
  if (gui_->Unattended() || !gui_->Interactive() || !gui_->Ensure()) {
    return fallback_ ? fallback_->Show(text, title, icon, buttons) : DefaultButton(buttons);
  }
  const MsgResult fallback = DefaultButton(buttons);
  QMessageBox box(ToQtIcon(icon), ToDisplay(title), ToDisplay(text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  const std::vector<MsgResult> wanted = ButtonsOf(buttons);
  for (MsgResult b : wanted) box.addButton(ToStd(b));
  box.setDefaultButton(ToStd(wanted.front()));
  box.setEscapeButton(box.button(ToStd(fallback)));
  box.exec();
  const Std clicked = box.standardButton(box.clickedButton());
  for (const auto& [qt_button, result] : kButtons) {
    if (qt_button == clicked) return result;
  }
  return fallback;
}

void QtEventPump::ProcessPending() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

}  // namespace velmora::qt
