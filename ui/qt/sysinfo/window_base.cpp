#include "qt/sysinfo/window_base.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputDevice>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "velmora/error.h"

namespace velmora::qt {

namespace {

const QScreen* ScreenOf(const QWidget* w) {
  const QScreen* s = w->screen();
  return s != nullptr ? s : QGuiApplication::primaryScreen();
}

}  // namespace

ScreenMetrics QtWindowDisplay::Screen() {
  const QScreen* s = ScreenOf(window_);
  if (s == nullptr) return {};
  // Pixels are the device's own; twips per pixel follow its dots per inch.
  const double ratio = s->devicePixelRatio();
  const double tpp_x = 1440.0 / (s->logicalDotsPerInchX() * ratio);
  const double tpp_y = 1440.0 / (s->logicalDotsPerInchY() * ratio);
  return {s->geometry().width() * ratio * tpp_x, s->geometry().height() * ratio * tpp_y, tpp_x,
          tpp_y};
}

std::int32_t QtWindowDisplay::BitsPerPixel() { return window_->depth(); }

bool QtWindowDisplay::MousePresent() {
  for (const QInputDevice* d : QInputDevice::devices()) {
    if (d->type() == QInputDevice::DeviceType::Mouse ||
        d->type() == QInputDevice::DeviceType::TouchPad)
      return true;
  }
  return false;
}

CursorPosition QtWindowDisplay::Cursor() {
  const QPoint p = QCursor::pos();
  const QScreen* s = ScreenOf(window_);
  const double ratio = s != nullptr ? s->devicePixelRatio() : 1.0;
  return {static_cast<std::int32_t>(std::lround(p.x() * ratio)),
          static_cast<std::int32_t>(std::lround(p.y() * ratio))};
}

Qt::Alignment AlignmentOf(CellAlign a) {
  switch (a) {
    case CellAlign::kLeft: return Qt::AlignLeft | Qt::AlignVCenter;
    case CellAlign::kCenter: return Qt::AlignCenter;
    case CellAlign::kRight: return Qt::AlignRight | Qt::AlignVCenter;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

QFont LabelFont() {
  QFont f;
  f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                 QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
  f.setPointSize(8);
  return f;
}

void KeepBelowCaption(QGroupBox* frame) {
  frame->ensurePolished();
  const QList<QWidget*> controls = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  if (controls.isEmpty()) return;
  int top = controls.front()->y();
  for (const QWidget* w : controls) top = std::min(top, w->y());
  const int shift = frame->contentsRect().top() - top;
  if (shift <= 0) return;
  for (QWidget* w : controls) w->move(w->x(), w->y() + shift);
}

ShapeBar::ShapeBar(QWidget* parent, const QColor& fill) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, fill);
  setPalette(p);
}

SysInfoWindow::SysInfoWindow(Qt::WindowFlags flags)
    : QWidget(nullptr, flags), twips_(this), display_(this), timer_(new QTimer(this)) {
  connect(timer_, &QTimer::timeout, this, [this] {
    // A tick has no caller to report to: a failed refresh waits for the next one.
    try {
      Run([this] { Tick(); });
    } catch (const Error&) {
    }
  });
}

void SysInfoWindow::SetWidth(std::int16_t twips) {
  const int px = std::max(1, twips_.X(twips) + extra_width_);
  if (px != width()) resize(px, height());
}

void SysInfoWindow::SetHeight(std::int16_t twips) {
  // Many steps of 5 twips fall on the same pixel; only a real change reaches the window.
  const int px = std::max(1, twips_.Y(twips));
  if (px != height()) resize(width(), px);
}

void SysInfoWindow::SetTimerInterval(std::int32_t ms) {
  if (ms <= 0) {
    timer_->stop();
  } else {
    timer_->start(ms);
  }
}

void SysInfoWindow::ProcessPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void SysInfoWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  timer_->stop();
  close();
  emit Unloaded();
  if (depth_ == 0) deleteLater();  // otherwise when the step under way ends
}

void SysInfoWindow::SetText(QLabel* label, const std::u16string& text) {
  const QString q = QString::fromStdU16String(text);
  if (label->text() != q) label->setText(q);
}

}  // namespace velmora::qt
