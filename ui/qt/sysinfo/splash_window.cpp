#include "qt/sysinfo/splash_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <algorithm>

namespace velmora::qt {

namespace {

QString Q(const char16_t* text) { return QString::fromUtf16(text); }
QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace

SplashWindow::SplashWindow(SystemQueries& sys, const LocaleData& loc)
    : SysInfoWindow(Qt::Window | Qt::FramelessWindowHint), model_(sys, display_, *this, loc) {
  setWindowTitle(QStringLiteral("frmSplashSys"));
  setFont(LabelFont());
  auto label = [&](QWidget* parent, const QString& text, QRect r, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(r);
    l->setAlignment(align);
    return l;
  };

  auto* frame1 = new QGroupBox(Q(SplashModel::kFrameCaption), this);
  frame1->setGeometry(twips_.Rect(60, 0, kWidth - 120, 5010));

  grid_ = new QTableWidget(SplashModel::kRows, 2, frame1);
  grid_->setGeometry(twips_.Rect(60, 240, 5655, 3180));
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setFocusPolicy(Qt::NoFocus);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setDefaultSectionSize(
      std::max(1, (grid_->height() - 2) / SplashModel::kRows));
  for (int r = 0; r < SplashModel::kRows; ++r) {
    for (int c = 0; c < 2; ++c) {
      auto* item = new QTableWidgetItem;
      if (r == 0 || c == 0) item->setBackground(palette().button());  // the fixed row and column
      grid_->setItem(r, c, item);
    }
  }

  // Picture1: the share of the current drive in use.
  auto* picture1 = new QFrame(frame1);
  picture1->setFrameShape(QFrame::Box);
  picture1->setGeometry(twips_.Rect(5790, 240, 1185, 1215));
  QFont tiny = font();
  tiny.setPointSize(7);
  auto* label1 = label(picture1, Q(SplashModel::kDiskCaption), twips_.Rect(30, 15, 1125, 420),
                       Qt::AlignCenter);
  label1->setWordWrap(true);
  label1->setFont(tiny);
  auto* track = new QFrame(picture1);
  track->setFrameShape(QFrame::Box);
  track->setGeometry(twips_.Rect(0, 465, SplashModel::kDiskBarFull + 15, 240));
  shape1_ = new ShapeBar(picture1, QColor(Qt::blue));
  shape1_->setGeometry(twips_.X(7), twips_.Y(480), twips_.X(SplashModel::kDiskBarFull),
                       twips_.Y(210));
  label4_ =
      label(picture1, Q(model_.disk_percent()), twips_.Rect(30, 720, 1125, 195), Qt::AlignCenter);
  // Label2, the tick marks at 0, 25, 50, 75 and 100 % of the bar, a pixel clear of the box's
  // border.
  const QRect inside = picture1->contentsRect().adjusted(1, 0, -1, 0);
  auto tick_x = [&](int quarter) {
    return std::clamp(twips_.X(7 + SplashModel::kDiskBarFull * quarter / 4), inside.left(),
                      inside.right());
  };
  for (int i = 0; i <= 4; ++i) {
    auto* tick = new QFrame(picture1);
    tick->setObjectName(QStringLiteral("Label2"));
    tick->setFrameShape(QFrame::VLine);
    tick->setGeometry(tick_x(i), twips_.Y(930), 1, twips_.Y(i % 2 == 0 ? 60 : 30));
  }
  // Label3, the scale: each of its readings (0, 50%, 100) under its own tick and below the
  // ticks' ends, the first and last inside the box, so that neither a tick, another reading nor
  // the border runs through one.
  const QStringList readings =
      Q(SplashModel::kDiskScale).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const int reading_width = inside.width() / 2 - 2;
  for (qsizetype i = 0; i < readings.size() && i < 3; ++i) {
    const int x = tick_x(static_cast<int>(i) * 2);
    const int left = i == 0 ? x : i == 1 ? x - reading_width / 2 : x + 1 - reading_width;
    const Qt::Alignment align = i == 0 ? Qt::AlignLeft : i == 1 ? Qt::AlignHCenter : Qt::AlignRight;
    auto* reading =
        label(picture1, readings[i], QRect(left, twips_.Y(1005), reading_width, twips_.Y(180)),
              align | Qt::AlignTop);
    reading->setObjectName(QStringLiteral("Label3"));
    reading->setFont(tiny);
  }

  cmd01_ = new QPushButton(Q(SplashModel::kExit), frame1);
  cmd01_->setGeometry(twips_.Rect(5790, 1500, 1185, 495));
  connect(cmd01_, &QPushButton::clicked, this, [this] { Run([this] { model_.Close(); }); });

  auto* text1 = new QLineEdit(Q(SplashModel::kCompany), frame1);
  text1->setReadOnly(true);
  text1->setCursorPosition(0);
  text1->setFont(QFont(QStringLiteral("Times New Roman"), 9));
  text1->setGeometry(twips_.Rect(60, 3480, 5655, 315));

  // fraInfo: the memory still available, hidden until the window loads.
  fra_info_ = new QGroupBox(frame1);
  fra_info_->setGeometry(twips_.Rect(60, 3825, kWidth - 240, 1080));
  fra_info_->setEnabled(false);
  fra_info_->hide();
  lbl_info_ = label(fra_info_, Q(model_.memory_free()), twips_.Rect(120, 120, 6900, 240),
                    Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 3; ++i) {
    const int top = 420 + i * 210;
    auto* name = label(fra_info_, Q(SplashModel::kBarNames[i]), twips_.Rect(120, top, 900, 195),
                       Qt::AlignLeft | Qt::AlignVCenter);
    auto* frame = new QFrame(fra_info_);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(twips_.Rect(1080, top, SplashModel::kMemoryBarFull, 195));
    shp_bar_[i] = new ShapeBar(fra_info_, QColor(0, 160, 80));
    shp_bar_[i]->setGeometry(twips_.Rect(1080, top, SplashModel::kMemoryBarFull, 195));
    auto* caption =
        label(fra_info_, Q(SplashModel::kBarCaptions[i]),
              twips_.Rect(1080, top, SplashModel::kMemoryBarFull, 195), Qt::AlignCenter);
    bar_rows_[i] = {name, frame, shp_bar_[i], caption};
    for (QWidget* w : bar_rows_[i]) w->hide();
  }

  KeepBelowCaption(frame1);
  KeepBelowCaption(fra_info_);

  resize(twips_.X(kWidth), std::max(1, twips_.Y(SplashModel::kClosedHeight)));
  // The refresh runs from the start, on the shortest interval there is.
  timer_->setTimerType(Qt::PreciseTimer);
  timer_->start(SplashModel::kTimerInterval);
}

void SplashWindow::Load() {
  Run([this] { model_.Load(); });
}

void SplashWindow::Show(std::uint32_t parts) {
  if (parts & SplashModel::kGrid) {
    for (int c = 0; c < 2; ++c) grid_->setColumnWidth(c, twips_.X(SplashModel::kColumnWidths[c]));
  }
  if (parts & (SplashModel::kGrid | SplashModel::kMemoryText)) {
    // A memory change touches rows 11 to 13 only.
    const int first = (parts & SplashModel::kGrid) ? 0 : 11;
    for (int r = first; r < SplashModel::kRows; ++r) {
      for (int c = (first == 0 ? 0 : 1); c < 2; ++c) {
        const GridCell& cell = model_.cell(r, c);
        QTableWidgetItem* item = grid_->item(r, c);
        const QString text = Q(cell.text);
        if (item->text() != text) item->setText(text);
        item->setTextAlignment(AlignmentOf(cell.align));
      }
    }
  }
  if (parts & SplashModel::kMemoryText) SetText(lbl_info_, model_.memory_free());
  if (parts & SplashModel::kDiskBar) {
    SetText(label4_, model_.disk_percent());
    const double twips =
        std::clamp(model_.disk_bar_width().ToDouble(), 0.0, SplashModel::kDiskBarFull);
    shape1_->resize(twips_.X(twips), shape1_->height());
  }
  if (parts & SplashModel::kInfoFrame) {
    fra_info_->setEnabled(model_.info_frame_shown());
    fra_info_->setVisible(model_.info_frame_shown());
  }
  if (parts & SplashModel::kBarRows) {
    for (const auto& row : bar_rows_) {
      for (QWidget* w : row) w->setVisible(model_.bar_rows_visible());
    }
  }
  for (int i = 1; i <= 3; ++i) {
    if (!(parts & (SplashModel::kBar1 << (i - 1)))) continue;
    ShapeBar* bar = shp_bar_[i - 1];
    const int px = twips_.X(std::clamp<int>(model_.bar_width(i), 0, SplashModel::kMemoryBarFull));
    if (px != bar->width()) {
      bar->resize(px, bar->height());
      ++bar_resizes_;
    }
  }
}

void SplashWindow::closeEvent(QCloseEvent* event) {
  if (unloaded_) {
    event->accept();
    return;
  }
  // Any other close rolls the window shut first; it unloads itself at the end of that.
  event->ignore();
  QMetaObject::invokeMethod(
      this, [this] { Run([this] { model_.Close(); }); }, Qt::QueuedConnection);
}

}  // namespace velmora::qt
