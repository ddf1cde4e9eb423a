// FrmPCInfo and frmSplashSys in Win32, filled from their models, and the service that opens
// them for System.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "velmora/sysinfo.h"
#include "win32/grid.h"
#include "win32/model_window.h"

namespace velmora::win32ui {

class PcInfoWindow final : public ModelWindow {
 public:
  using Model = PcInfoModel;
  PcInfoWindow(SystemQueries& sys, const LocaleData& loc);
  void Load() override;
  void PressClose() override;
  void Show(std::uint32_t parts) override;
  const PcInfoModel& model() const { return model_; }

 protected:
  LRESULT Handle(UINT message, WPARAM w, LPARAM l) override;
  void Tick() override { model_.Refresh(); }

 private:
  void Build();
  // The labels and bar of the memory (0), drive C (1) or drive D (2), under `top` of a frame
  // whose corner is at (x, y) twips.
  void BuildGroup(int group, double x, double y, double top, COLORREF colour);
  void ShowGroup(int group, const PcInfoModel::Figures& f, bool labels, bool bar);

  PcInfoModel model_;
  Grid grid_;
};

class SplashWindow final : public ModelWindow {
 public:
  using Model = SplashModel;
  // The panel's width, twips; its height is the model's.
  static constexpr int kWidth = 7410;

  SplashWindow(SystemQueries& sys, const LocaleData& loc);
  void Load() override;
  void PressClose() override;
  void Show(std::uint32_t parts) override;
  const SplashModel& model() const { return model_; }

 protected:
  LRESULT Handle(UINT message, WPARAM w, LPARAM l) override;
  void Tick() override { model_.Refresh(); }

 private:
  void Build();

  SplashModel model_;
  Grid grid_;
  // Per bar: lblR, shpFrame and shpBar (both with lblResInfo's caption), hidden until the
  // first refresh.
  std::array<std::array<HWND, 3>, 3> bar_rows_{};
};

// The two windows of System: one instance of each, loaded on first use, shown modally (its own
// message loop until the window unloads, the thread's other windows disabled meanwhile) or not.
//
// Unattended (VELMORA_UNATTENDED, see DialogMessageBox) no window waits for a person, modal or
// not: once loaded it presses its own closing button ("&Finalizar", "&Salir"), says so on the
// standard error (DescribeUnattendedClose) and the call returns once it has closed, so that a
// scripted host goes on. A window that cannot be made (no display) raises 5.
class Win32SystemWindows final : public SystemWindows {
 public:
  Win32SystemWindows(std::shared_ptr<SystemQueries> sys, LocaleData loc);
  ~Win32SystemWindows() override;
  Win32SystemWindows(const Win32SystemWindows&) = delete;
  Win32SystemWindows& operator=(const Win32SystemWindows&) = delete;

  void ShowPcInfo(bool modal) override;
  void ShowSplash(bool modal) override;
  bool AnyOpen() const override;
  void WaitWhileOpen() override;

 private:
  template <typename W>
  void Show(std::unique_ptr<W>& slot, bool modal);
  void Retire(std::unique_ptr<ModelWindow> window);

  std::shared_ptr<SystemQueries> sys_;
  LocaleData loc_;
  std::unique_ptr<PcInfoWindow> pc_info_;
  std::unique_ptr<SplashWindow> splash_;
  // Unloaded windows whose last model step has not ended yet.
  std::vector<std::unique_ptr<ModelWindow>> retired_;
};

}  // namespace velmora::win32ui
