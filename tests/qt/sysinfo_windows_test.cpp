// The two system-information windows on Qt, offscreen, on fake system queries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <memory>

#include "fake_sysinfo.h"
#include "linux/console_dialogs.h"
#include "qt/sysinfo/system_windows.h"
#include "qt_services.h"

namespace velmora::qt {
namespace {

class SysinfoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    sys_ = std::make_shared<fakes::FakeSystemQueries>();
    sys_->drive_bytes[u'C'] = {10'000'000'000, 40'000'000'000, 10'000'000'000};  // 75 % used
    windows_ = std::make_unique<QtSystemWindows>(sys_, SpanishMexico(), TestSession());
  }
  // Runs events for a while (timer ticks).
  static void Spin(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  static std::u16string Text(QTableWidget* grid, int row, int column) {
    return grid->item(row, column)->text().toStdU16String();
  }

  std::shared_ptr<fakes::FakeSystemQueries> sys_;
  std::unique_ptr<QtSystemWindows> windows_;
};

// What a window draws is drawn whole and apart: every cell of a grid shows its whole text at
// the window's font (no "..."), the columns fit the grid, every label holds its text, and what
// stands in a frame stays inside its border, below its caption.
void ExpectDrawnWhole(QWidget* window) {
  const QString name = window->windowTitle();
  for (auto* grid : window->findChildren<QTableWidget*>()) {
    // A cell's text stands between margins of the style's focus frame and a pixel on each side.
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    int columns = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
      columns += grid->columnWidth(c);
      for (int r = 0; r < grid->rowCount(); ++r) {
        const QTableWidgetItem* item = grid->item(r, c);
        const QVariant role = item->data(Qt::FontRole);
        const QFont font = role.isValid() ? qvariant_cast<QFont>(role) : grid->font();
        EXPECT_EQ(QFontInfo(font).family().toStdString(),
                  QFontInfo(window->font()).family().toStdString())
            << r << ", " << c;
        EXPECT_EQ(font.pointSize(), window->font().pointSize()) << r << ", " << c;
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(item->text()) + margins,
                  grid->columnWidth(c))
            << name.toStdString() << ": \"" << item->text().toStdString() << "\"";
      }
    }
    EXPECT_LE(columns, grid->width() - 2 * grid->frameWidth()) << name.toStdString();
  }
  for (auto* label : window->findChildren<QLabel*>()) {
    if (label->isHidden() || label->wordWrap() || label->text().isEmpty()) continue;
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
        << name.toStdString() << ": " << label->text().toStdString();
  }
  for (auto* frame : window->findChildren<QGroupBox*>()) {
    for (auto* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (w->isHidden()) continue;
      const QRect in = frame->contentsRect();
      const QRect at = w->geometry();
      EXPECT_TRUE(in.contains(at))
          << name.toStdString() << ": in \"" << frame->title().toStdString() << "\" "
          << w->metaObject()->className() << " \""
          << (qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text().toStdString() : "")
          << "\" from (" << at.left() << ", " << at.top() << ") to (" << at.right() << ", "
          << at.bottom() << "), inside is (" << in.left() << ", " << in.top() << ") to ("
          << in.right() << ", " << in.bottom() << ")";
    }
  }
}

// The readings of a gauge's scale (Label3) each stand right under a tick of their own (Label2),
// clear of every tick and of each other: "0", "50%" and "100" under every bar of the window.
void ExpectScalesReadable(QWidget* window, int gauges) {
  QStringList words;
  QList<QWidget*> parents;
  for (auto* reading : window->findChildren<QLabel*>(QStringLiteral("Label3"))) {
    words << reading->text();
    if (!parents.contains(reading->parentWidget())) parents << reading->parentWidget();
  }
  QStringList expected;
  for (int i = 0; i < gauges; ++i)
    expected << QStringLiteral("0") << QStringLiteral("50%") << QStringLiteral("100");
  EXPECT_EQ(words.join(QLatin1Char(' ')).toStdString(),
            expected.join(QLatin1Char(' ')).toStdString());
  for (QWidget* parent : parents) {
    const auto ticks =
        parent->findChildren<QFrame*>(QStringLiteral("Label2"), Qt::FindDirectChildrenOnly);
    QList<QRect> drawn;
    for (auto* reading :
         parent->findChildren<QLabel*>(QStringLiteral("Label3"), Qt::FindDirectChildrenOnly)) {
      const std::string text = reading->text().toStdString();
      const QFontMetrics fm = reading->fontMetrics();
      const QRect r = QStyle::alignedRect(Qt::LeftToRight, reading->alignment(),
                                          QSize(fm.horizontalAdvance(reading->text()), fm.height()),
                                          reading->contentsRect().translated(reading->pos()));
      EXPECT_TRUE(reading->geometry().contains(r)) << text << " cut by its label";
      EXPECT_TRUE(parent->contentsRect().contains(r)) << text << " over its box's border";
      int under = 0;
      for (const QFrame* tick : ticks) {
        EXPECT_FALSE(tick->geometry().intersects(r)) << text << " crossed by a tick";
        const bool above = tick->geometry().bottom() < r.top() &&
                           r.top() - tick->geometry().bottom() <= fm.height();
        if (above && tick->x() >= r.left() && tick->x() <= r.right()) ++under;
      }
      EXPECT_EQ(under, 1) << text << " stands under " << under << " ticks";
      for (const QRect& other : drawn) EXPECT_FALSE(other.intersects(r)) << text;
      drawn << r;
    }
  }
}

// A machine whose figures fill the rows: 23.5 Gb. of memory, a 252 Gb. drive and a processor
// with a long name.
TEST_F(SysinfoWindows, InformationWindowDrawsEveryFigureWhole) {
  sys_->names = {u"Debian GNU/Linux 12 (bookworm)", u"Linux 6.1.0-18-amd64",
                 u"Intel(R) Core(TM) i7-10750H CPU @ 2.60GHz"};
  sys_->memory = {7, 25'276'157'952, 23'509'000'000, 0, 0, 25'276'157'952, 23'509'000'000};
  sys_->drive_bytes[u'C'] = {79'860'793'344, 270'553'174'016, 79'860'793'344};
  sys_->drive_bytes[u'D'] = {1'000'000'000'000, 2'000'398'934'016, 1'000'000'000'000};
  windows_->ShowPcInfo(false);
  PcInfoWindow* w = windows_->pc_info();
  ASSERT_NE(w, nullptr);
  ExpectDrawnWhole(w);
  ExpectScalesReadable(w, 3);
  w->finalizar()->click();
}

TEST_F(SysinfoWindows, SplashDrawsEveryFigureWhole) {
  windows_->ShowSplash(false);
  SplashWindow* w = windows_->splash();
  ASSERT_NE(w, nullptr);
  Spin(50);  // the bar rows appear with the first refresh
  ExpectDrawnWhole(w);
  ExpectScalesReadable(w, 1);
  w->salir()->click();
  windows_->WaitWhileOpen();
}

TEST_F(SysinfoWindows, InformationWindowShowsTheModelAndClosesOnlyByItsButton) {
  windows_->ShowPcInfo(false);
  PcInfoWindow* w = windows_->pc_info();
  ASSERT_NE(w, nullptr);
  const PcInfoModel& m = w->model();
  for (int row = 0; row < PcInfoModel::kRows; ++row) {
    for (int column = 0; column < 2; ++column)
      EXPECT_EQ(Text(w->grid(), row, column), m.cell(row, column).text) << row;
  }
  EXPECT_EQ(w->group(1).used_percent->text(), QStringLiteral("75 %"));
  EXPECT_EQ(w->group(1).free->text().toStdU16String(), m.drive_c().free);
  EXPECT_EQ(w->group(2).total->text().toStdU16String(), PcInfoModel::kNoDrive);
  // 2441.25 of 3255 twips: three quarters of the full bar, give or take a pixel.
  const Twips twips(w);
  EXPECT_NEAR(w->group(1).bar->width(), twips.X(2441.25), 1);
  EXPECT_EQ(w->group(2).bar->width(), 0);

  Spin(400);  // a few 150 ms ticks: the mouse line appears
  EXPECT_TRUE(w->mouse_label()->text().startsWith(QStringLiteral("     X = ")));

  w->close();  // the system's close command is refused
  EXPECT_TRUE(windows_->AnyOpen());
  EXPECT_TRUE(w->isVisible());

  w->finalizar()->click();
  EXPECT_FALSE(windows_->AnyOpen());
  EXPECT_EQ(m.height(), 0);
}

TEST_F(SysinfoWindows, SplashRollsOpenRefreshesAndRollsShut) {
  sys_->memory = {50, 1'048'576'000, 524'288'000, 0, 0, 3'000'000'000, 3'000'000'000};
  windows_->ShowSplash(false);
  SplashWindow* w = windows_->splash();
  ASSERT_NE(w, nullptr);
  const Twips twips(w);
  EXPECT_EQ(w->height(), twips.Y(SplashModel::kOpenHeight));
  for (int row = 0; row < SplashModel::kRows; ++row)
    EXPECT_EQ(Text(w->grid(), row, 1), w->model().cell(row, 1).text) << row;
  EXPECT_EQ(Text(w->grid(), 11, 1), u"1,024,000 Kb.");
  EXPECT_EQ(w->memory_free_label()->text(),
            QString::fromUtf16(u"Memoria Física Disponible: 512,000 Kb."));
  EXPECT_EQ(w->memory_bar(1)->width(), twips.X(1568));
  EXPECT_EQ(w->memory_bar(3)->width(), 0);
  EXPECT_TRUE(w->memory_bar(1)->isVisible());

  // Ticks with the same figures touch no bar; a change moves only its own.
  const int before = w->bar_resizes();
  const int queries = sys_->memory_queries;
  Spin(100);
  EXPECT_GT(sys_->memory_queries, queries + 10);  // the 1 ms timer runs
  EXPECT_EQ(w->bar_resizes(), before);
  sys_->memory.avail_virtual = 1'500'000'000;
  Spin(50);
  EXPECT_EQ(w->bar_resizes(), before + 1);
  EXPECT_EQ(w->memory_bar(2)->width(), twips.X(1568));

  w->close();  // any close rolls it shut
  windows_->WaitWhileOpen();
  EXPECT_EQ(windows_->splash(), nullptr);
}

TEST_F(SysinfoWindows, ModalSplashReturnsWhenItsButtonCloses) {
  bool clicked = false;
  QTimer::singleShot(200, [&] {
    ASSERT_NE(windows_->splash(), nullptr);
    windows_->splash()->salir()->click();
    clicked = true;
  });
  windows_->ShowSplash(true);
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(windows_->AnyOpen());
}

// Unattended, no window waits for a person, modal or not: it closes itself by its own button
// once loaded, says so on the standard error, and the call returns with it closed.
TEST_F(SysinfoWindows, UnattendedWindowsCloseThemselvesModalOrNot) {
  setenv(linux_platform::kUnattendedVariable, "1", 1);
  for (const bool modal : {false, true}) {
    ::testing::internal::CaptureStderr();
    windows_->ShowPcInfo(modal);
    EXPECT_FALSE(windows_->AnyOpen()) << modal;
    windows_->ShowSplash(modal);
    EXPECT_FALSE(windows_->AnyOpen()) << modal;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "== FrmPCInfo (ventana) ==\n(desatendido, se cierra con: &Finalizar)\n"
              "== frmSplashSys (ventana) ==\n(desatendido, se cierra con: &Salir)\n")
        << modal;
  }
  unsetenv(linux_platform::kUnattendedVariable);
}

}  // namespace
}  // namespace velmora::qt
