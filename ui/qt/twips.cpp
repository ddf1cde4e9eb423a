#include "qt/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace velmora::qt {

Twips::Twips(const QWidget* widget) {
  const QScreen* s = widget->screen();
  if (s == nullptr) s = QGuiApplication::primaryScreen();
  dpi_x_ = s != nullptr ? s->logicalDotsPerInchX() : 96.0;
  dpi_y_ = s != nullptr ? s->logicalDotsPerInchY() : 96.0;
}

int Twips::X(double twips) const { return static_cast<int>(std::lround(twips * dpi_x_ / 1440.0)); }
int Twips::Y(double twips) const { return static_cast<int>(std::lround(twips * dpi_y_ / 1440.0)); }

QRect Twips::Rect(double left, double top, double width, double height) const {
  return {X(left), Y(top), X(width), Y(height)};
}

}  // namespace velmora::qt
