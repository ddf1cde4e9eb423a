#include "qt/sysinfo/pcinfo_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>

namespace velmora::qt {

namespace {

QString Q(const char16_t* text) { return QString::fromUtf16(text); }
QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

// Where the frames stand, twips: left, top, width, height. The grid fills the inside of Frame3.
constexpr double kFrame3[] = {30, 30, 4065, 3495};
constexpr double kFrame2[] = {4110, 480, 3435, 1905};
constexpr double kFrame1[] = {4110, 2400, 3435, 3555};

}  // namespace

PcInfoWindow::PcInfoWindow(SystemQueries& sys, const LocaleData& loc)
    : SysInfoWindow(Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      model_(sys, display_, *this, loc) {
  setWindowTitle(QString::fromUtf16(u"Información del Sistema"));
  setFont(LabelFont());
  auto label = [&](QWidget* parent, const QString& text, QRect r,
                   Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(r);
    l->setAlignment(align);
    return l;
  };

  // Información General: the grid, its first row and column drawn as headings.
  frame3_ = new QGroupBox(Q(PcInfoModel::kGeneralCaption), this);
  frame3_->setGeometry(twips_.Rect(kFrame3[0], kFrame3[1], kFrame3[2], kFrame3[3]));
  frame3_->ensurePolished();
  grid_ = new QTableWidget(PcInfoModel::kRows, 2, frame3_);
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setFocusPolicy(Qt::NoFocus);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  PlaceGrid();
  for (int c = 0; c < 2; ++c) grid_->setColumnWidth(c, twips_.X(PcInfoModel::kColumnWidths[c]));
  for (int r = 0; r < PcInfoModel::kRows; ++r) {
    for (int c = 0; c < 2; ++c) {
      auto* item = new QTableWidgetItem;
      if (r == 0 || c == 0) item->setBackground(palette().button());
      grid_->setItem(r, c, item);
    }
  }

  // Memoria: and Almacenaje: with their three lines and bars.
  frame2_ = new QGroupBox(Q(PcInfoModel::kMemoryCaption), this);
  frame2_->setGeometry(twips_.Rect(kFrame2[0], kFrame2[1], kFrame2[2], kFrame2[3]));
  groups_[0] = BuildGroup(frame2_, 240, QColor(Qt::red));
  KeepBelowCaption(frame2_);
  frame1_ = new QGroupBox(Q(PcInfoModel::kStorageCaption), this);
  frame1_->setGeometry(twips_.Rect(kFrame1[0], kFrame1[1], kFrame1[2], kFrame1[3]));
  QFont bold = font();
  bold.setBold(true);
  label(frame1_, Q(PcInfoModel::kDriveCCaption), twips_.Rect(90, 200, 1500, 240))->setFont(bold);
  groups_[1] = BuildGroup(frame1_, 440, QColor(Qt::blue));
  auto* line = new QFrame(frame1_);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(twips_.Rect(60, 1800, 3315, 30));
  label(frame1_, Q(PcInfoModel::kDriveDCaption), twips_.Rect(90, 1845, 1500, 240))->setFont(bold);
  groups_[2] = BuildGroup(frame1_, 2085, QColor(Qt::darkGreen));
  KeepBelowCaption(frame1_);

  // Mouse: the live position.
  auto* frame4 = new QGroupBox(Q(PcInfoModel::kMouseCaption), this);
  frame4->setGeometry(twips_.Rect(1770, 3540, 2325, 1455));
  label(frame4, Q(PcInfoModel::kPositionCaption), twips_.Rect(120, 300, 2085, 300));
  lbl_mouse_ = label(frame4, QString(), twips_.Rect(60, 720, 2205, 300));
  KeepBelowCaption(frame4);

  auto* txt_info = new QLineEdit(Q(PcInfoModel::kCompany), this);
  txt_info->setReadOnly(true);
  txt_info->setCursorPosition(0);
  txt_info->setFont(QFont(QStringLiteral("Times New Roman"), 7));
  txt_info->setGeometry(twips_.Rect(30, 5640, 2310, 315));
  cmd_salir_ = new QPushButton(Q(PcInfoModel::kExit), this);
  cmd_salir_->setGeometry(twips_.Rect(2400, 5100, 1215, 855));
  connect(cmd_salir_, &QPushButton::clicked, this, [this] { Run([this] { model_.Finalizar(); }); });

  resize(twips_.X(PcInfoModel::kWidth), twips_.Y(PcInfoModel::kHeight));
}

PcInfoWindow::Group PcInfoWindow::BuildGroup(QWidget* frame, int top, const QColor& colour) {
  auto label = [&](const QString& text, QRect r, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, frame);
    l->setGeometry(r);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
  };
  Group g;
  label(Q(PcInfoModel::kTotalCaption), twips_.Rect(90, top, 700, 240));
  g.total = label({}, twips_.Rect(800, top, 2500, 240));
  label(Q(PcInfoModel::kUsedCaption), twips_.Rect(90, top + 240, 800, 240));
  g.used_percent = label({}, twips_.Rect(900, top + 240, 700, 240));
  label(Q(PcInfoModel::kFreeCaption), twips_.Rect(1800, top + 240, 600, 240));
  g.free_percent = label({}, twips_.Rect(2400, top + 240, 900, 240));
  g.used = label({}, twips_.Rect(90, top + 480, 1650, 240));
  g.free = label({}, twips_.Rect(1800, top + 480, 1550, 240));

  // The bar in its bordered box, the tick marks and the scale 0, 50% and 100 under it.
  const int bar_top = top + 760;
  auto* box = new QFrame(frame);
  box->setFrameShape(QFrame::Box);
  box->setGeometry(twips_.Rect(75, bar_top - 15, PcInfoModel::kBarFull + 30, 255));
  g.bar = new ShapeBar(frame, colour);
  g.bar->setGeometry(twips_.X(90), twips_.Y(bar_top), 0, twips_.Y(225));
  for (int i = 0; i <= 10; ++i) {
    auto* tick = new QFrame(frame);
    tick->setObjectName(QStringLiteral("Label2"));
    tick->setFrameShape(QFrame::VLine);
    const double x = 90 + PcInfoModel::kBarFull * i / 10;
    tick->setGeometry(twips_.X(x), twips_.Y(bar_top + 255), 1, twips_.Y(i % 5 == 0 ? 90 : 45));
  }
  auto scale = [&](const QString& text, QRect r, Qt::Alignment align) {
    label(text, r, align)->setObjectName(QStringLiteral("Label3"));
  };
  scale(QStringLiteral("0"), twips_.Rect(45, bar_top + 345, 400, 210), Qt::AlignLeft);
  scale(QStringLiteral("50%"),
        twips_.Rect(90 + PcInfoModel::kBarFull / 2 - 300, bar_top + 345, 600, 210),
        Qt::AlignHCenter);
  scale(QStringLiteral("100"),
        twips_.Rect(90 + PcInfoModel::kBarFull - 400, bar_top + 345, 445, 210), Qt::AlignRight);
  return g;
}

void PcInfoWindow::Load() {
  Run([this] { model_.Load(); });
}

void PcInfoWindow::Show(std::uint32_t parts) {
  if (parts & PcInfoModel::kGrid) {
    for (int r = 0; r < PcInfoModel::kRows; ++r) {
      for (int c = 0; c < 2; ++c) {
        const GridCell& cell = model_.cell(r, c);
        QTableWidgetItem* item = grid_->item(r, c);
        item->setText(Q(cell.text));
        item->setTextAlignment(AlignmentOf(cell.align));
        QFont f = grid_->font();  // the window's
        f.setBold(cell.bold);
        item->setFont(f);
      }
    }
    FitGrid();
    SetText(groups_[0].total, model_.memory().total);
    SetText(groups_[1].total, model_.drive_c().total);
    SetText(groups_[2].total, model_.drive_d().total);
  }
  ShowGroup(0, model_.memory(), parts & PcInfoModel::kMemoryLabels,
            parts & PcInfoModel::kMemoryBar);
  ShowGroup(1, model_.drive_c(), parts & PcInfoModel::kDriveCLabels,
            parts & PcInfoModel::kDriveCBar);
  ShowGroup(2, model_.drive_d(), parts & PcInfoModel::kDriveDLabels,
            parts & PcInfoModel::kDriveDBar);
  if (parts & PcInfoModel::kMouse) SetText(lbl_mouse_, model_.mouse());
}

void PcInfoWindow::PlaceGrid() {
  // The grid fills the inside of its frame, as tall as a whole number of rows.
  QRect r = frame3_->contentsRect();
  const int borders = 2 * grid_->frameWidth();
  const int row = std::max(1, (r.height() - borders) / PcInfoModel::kRows);
  grid_->verticalHeader()->setDefaultSectionSize(row);
  r.setHeight(row * PcInfoModel::kRows + borders);
  grid_->setGeometry(r);
}

void PcInfoWindow::FitGrid() {
  // Each column as wide as its widest text at the window's font, never narrower than the layout
  // has it. What the columns need beyond the grid widens the grid, its frame and the window, and
  // moves the frames to its right over by as much: a figure is never cut short.
  int columns = 0;
  for (int c = 0; c < 2; ++c) {
    grid_->resizeColumnToContents(c);
    const int w = std::max(grid_->columnWidth(c), twips_.X(PcInfoModel::kColumnWidths[c]));
    grid_->setColumnWidth(c, w);
    columns += w;
  }
  const int borders = frame3_->width() - frame3_->contentsRect().width();  // the frame's own
  const int inside = twips_.X(kFrame3[2]) - borders;
  const int extra = std::max(0, columns + 2 * grid_->frameWidth() - inside);
  if (extra == extra_width_) return;
  frame3_->resize(twips_.X(kFrame3[2]) + extra, frame3_->height());
  PlaceGrid();
  frame2_->move(twips_.X(kFrame2[0]) + extra, frame2_->y());
  frame1_->move(twips_.X(kFrame1[0]) + extra, frame1_->y());
  resize(width() - extra_width_ + extra, height());
  extra_width_ = extra;
}

void PcInfoWindow::ShowGroup(int i, const PcInfoModel::Figures& f, bool labels, bool bar) {
  const Group& g = groups_[i];
  if (labels) {
    SetText(g.used_percent, f.used_percent);
    SetText(g.free_percent, f.free_percent);
    SetText(g.used, f.used);
    SetText(g.free, f.free);
  }
  if (bar) {
    const double twips = std::clamp(f.bar_width.ToDouble(), 0.0, PcInfoModel::kBarFull);
    const int px = twips_.X(twips);
    if (px != g.bar->width()) g.bar->resize(px, g.bar->height());
  }
}

void PcInfoWindow::closeEvent(QCloseEvent* event) {
  // Only the close that follows "&Finalizar" is honoured; the window unloads itself then.
  if (unloaded_ && model_.QueryUnload()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace velmora::qt
