// FrmPCInfo on Qt: the widgets of the information window, filled from its model.
#pragma once

#include <QPushButton>
#include <QTableWidget>
#include <array>

#include "qt/sysinfo/window_base.h"

class QGroupBox;
class QLabel;

namespace velmora::qt {

class PcInfoWindow final : public SysInfoWindow {
  Q_OBJECT

 public:
  using Model = PcInfoModel;

  PcInfoWindow(SystemQueries& sys, const LocaleData& loc);

  void Load() override;
  void PressClose() override { cmd_salir_->click(); }
  void Show(std::uint32_t parts) override;

  const PcInfoModel& model() const { return model_; }
  QTableWidget* grid() const { return grid_; }
  QPushButton* finalizar() const { return cmd_salir_; }
  QLabel* mouse_label() const { return lbl_mouse_; }

  // The labels and the bar of the memory (0), drive C (1) or drive D (2).
  struct Group {
    QLabel* total = nullptr;
    QLabel* used_percent = nullptr;
    QLabel* free_percent = nullptr;
    QLabel* used = nullptr;
    QLabel* free = nullptr;
    ShapeBar* bar = nullptr;
  };
  const Group& group(int i) const { return groups_[i]; }

 protected:
  void Tick() override { model_.Refresh(); }
  void closeEvent(QCloseEvent* event) override;

 private:
  Group BuildGroup(QWidget* frame, int top, const QColor& colour);
  // Sizes the grid's columns to their texts, widening the window where they need it.
  void FitGrid();
  void PlaceGrid();
  void ShowGroup(int i, const PcInfoModel::Figures& f, bool labels, bool bar);

  PcInfoModel model_;
  QGroupBox* frame3_ = nullptr;  // Información General, around the grid
  QGroupBox* frame2_ = nullptr;  // Memoria
  QGroupBox* frame1_ = nullptr;  // Almacenaje
  QTableWidget* grid_;
  std::array<Group, 3> groups_;
  QLabel* lbl_mouse_ = nullptr;
  QPushButton* cmd_salir_ = nullptr;
};

}  // namespace velmora::qt
