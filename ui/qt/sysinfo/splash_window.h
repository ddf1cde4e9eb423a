// frmSplashSys on Qt: the widgets of the splash window, filled from its model.
#pragma once

#include <QPushButton>
#include <QTableWidget>
#include <array>

#include "qt/sysinfo/window_base.h"

class QGroupBox;
class QLabel;

namespace velmora::qt {

class SplashWindow final : public SysInfoWindow {
  Q_OBJECT

 public:
  using Model = SplashModel;
  // The panel's width, twips; its height is the model's.
  static constexpr int kWidth = 7410;

  SplashWindow(SystemQueries& sys, const LocaleData& loc);

  void Load() override;
  void PressClose() override { cmd01_->click(); }
  void Show(std::uint32_t parts) override;

  const SplashModel& model() const { return model_; }
  QTableWidget* grid() const { return grid_; }
  QPushButton* salir() const { return cmd01_; }
  QLabel* memory_free_label() const { return lbl_info_; }
  QLabel* disk_percent_label() const { return label4_; }
  ShapeBar* disk_bar() const { return shape1_; }
  ShapeBar* memory_bar(int i) const { return shp_bar_[i - 1]; }
  // How often a bar's width was set since the window opened (a refresh sets only changes).
  int bar_resizes() const { return bar_resizes_; }

 protected:
  void Tick() override { model_.Refresh(); }
  void closeEvent(QCloseEvent* event) override;

 private:
  SplashModel model_;
  QTableWidget* grid_;
  QLabel* label4_;
  ShapeBar* shape1_;
  QGroupBox* fra_info_;
  QLabel* lbl_info_;
  // Per bar: lblR, shpFrame, shpBar and lblResInfo, hidden until the first refresh.
  std::array<std::array<QWidget*, 4>, 3> bar_rows_{};
  std::array<ShapeBar*, 3> shp_bar_{};
  QPushButton* cmd01_;
  int bar_resizes_ = 0;
};

}  // namespace velmora::qt
