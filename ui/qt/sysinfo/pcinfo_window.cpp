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
  auto* frame3 = new QGroupBox(Q(PcInfoModel::kGeneralCaption), this);
  frame3->setGeometry(twips_.Rect(30, 30, 4065, 3495));
  grid_ = new QTableWidget(PcInfoModel::kRows, 2, frame3);
  grid_->setGeometry(twips_.Rect(30, 240, 4005, 3225));
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setFocusPolicy(Qt::NoFocus);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setDefaultSectionSize(
      std::max(1, (grid_->height() - 2) / PcInfoModel::kRows));
  for (int c = 0; c < 2; ++c) grid_->setColumnWidth(c, twips_.X(PcInfoModel::kColumnWidths[c]));
  for (int r = 0; r < PcInfoModel::kRows; ++r) {
    for (int c = 0; c < 2; ++c) {
      auto* item = new QTableWidgetItem;
      if (r == 0 || c == 0) item->setBackground(palette().button());
      grid_->setItem(r, c, item);
    }
  }

  // Memoria: and Almacenaje: with their three lines and bars.
  auto* frame2 = new QGroupBox(Q(PcInfoModel::kMemoryCaption), this);
  frame2->setGeometry(twips_.Rect(4110, 480, 3435, 1905));
  groups_[0] = BuildGroup(frame2, 240, QColor(Qt::red));
  auto* frame1 = new QGroupBox(Q(PcInfoModel::kStorageCaption), this);
  frame1->setGeometry(twips_.Rect(4110, 2400, 3435, 3555));
  QFont bold = font();
  bold.setBold(true);
  label(frame1, Q(PcInfoModel::kDriveCCaption), twips_.Rect(90, 200, 1500, 240))->setFont(bold);
  groups_[1] = BuildGroup(frame1, 440, QColor(Qt::blue));
  auto* line = new QFrame(frame1);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(twips_.Rect(60, 1770, 3315, 30));
  label(frame1, Q(PcInfoModel::kDriveDCaption), twips_.Rect(90, 1830, 1500, 240))->setFont(bold);
  groups_[2] = BuildGroup(frame1, 2070, QColor(Qt::darkGreen));

  // Mouse: the live position.
  auto* frame4 = new QGroupBox(Q(PcInfoModel::kMouseCaption), this);
  frame4->setGeometry(twips_.Rect(1770, 3540, 2325, 1455));
  label(frame4, Q(PcInfoModel::kPositionCaption), twips_.Rect(120, 300, 2085, 300));
  lbl_mouse_ = label(frame4, QString(), twips_.Rect(60, 720, 2205, 300));

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
    tick->setFrameShape(QFrame::VLine);
    const double x = 90 + PcInfoModel::kBarFull * i / 10;
    tick->setGeometry(twips_.X(x), twips_.Y(bar_top + 255), 1, twips_.Y(i % 5 == 0 ? 90 : 45));
  }
  label(QStringLiteral("0"), twips_.Rect(45, bar_top + 345, 400, 210));
  label(QStringLiteral("50%"),
        twips_.Rect(90 + PcInfoModel::kBarFull / 2 - 300, bar_top + 345, 600, 210),
        Qt::AlignHCenter);
  label(QStringLiteral("100"),
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
        item->setToolTip(item->text());  // the long totals do not fit the column
        item->setTextAlignment(AlignmentOf(cell.align));
        QFont f = item->font();
        f.setBold(cell.bold);
        item->setFont(f);
      }
    }
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
