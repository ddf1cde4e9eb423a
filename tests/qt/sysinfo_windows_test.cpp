// The two system-information windows on Qt, offscreen, on fake system queries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <memory>

#include "fake_sysinfo.h"
#include "linux/console_dialogs.h"
#include "qt/sysinfo/system_windows.h"

namespace velmora::qt {
namespace {

class SysinfoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    sys_ = std::make_shared<fakes::FakeSystemQueries>();
    sys_->drive_bytes[u'C'] = {10'000'000'000, 40'000'000'000, 10'000'000'000};  // 75 % used
    windows_ = std::make_unique<QtSystemWindows>(sys_, SpanishMexico());
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
