#include "qt/qt_photo.h"

#include <QApplication>
#include <QFileDialog>

#include "qt/frm_toma_foto.h"

namespace velmora::qt {

namespace {

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// "*.Jpg" -> "*.[Jj][Pp][Gg]": Qt's filters follow the disk's case, the runtime's never do.
QString CaseFree(const QString& pattern) {
  QString out;
  for (const QChar c : pattern) {
    if (c.isLetter() && c.toUpper() != c.toLower()) {
      out += QLatin1Char('[') + c.toUpper() + c.toLower() + QLatin1Char(']');
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

QStringList NameFilters(std::u16string_view filter) {
  const QStringList parts = Q(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      patterns << CaseFree(p.trimmed());
    }
    filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

std::u16string QtFileDialog::OpenFile(std::u16string_view title, std::u16string_view filter,
                                      std::u16string_view initial_name) {
  if (!gui_->Interactive() || !gui_->Ensure()) throw NoFileDialogError();
  QFileDialog dialog(QApplication::activeWindow(), Q(title));
  dialog.setObjectName(QStringLiteral("CommonDialog1"));
  // Qt's own dialog on every desktop, so the filters above mean the same everywhere.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters(NameFilters(filter));
  if (!initial_name.empty()) dialog.selectFile(Q(initial_name));
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? std::u16string() : chosen.first().toStdU16String();
}

void QtCaptureWindowHost::ShowModal(CaptureWindow& window) {
  // A modal window nobody could answer (no display, or an offscreen one the process would have
  // to make itself) would hold the host for ever; unattended it closes itself, so it is shown
  // wherever it can be made.
  const bool unattended = gui_->Unattended();
  if (!(unattended ? gui_->Ensure() : gui_->Interactive() && gui_->Ensure())) {
    throw NoCaptureWindowError();
  }
  FrmTomaFoto view(window, QApplication::activeWindow());
  if (unattended) {
    // Once shown and loaded, its close box closes it, as a person's click would.
    ReportUnattendedClose(CaptureWindow::kName, kCloseBox);
    QMetaObject::invokeMethod(
        &view, [&view] { view.close(); }, Qt::QueuedConnection);
  }
  view.exec();
}

}  // namespace velmora::qt
