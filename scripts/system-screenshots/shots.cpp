// Opens FrmPCInfo and frmSplashSys on this machine's figures (es_MX), lets them refresh, and
// saves each as a picture:  system_shots PCINFO.png SPLASH.png
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "linux/services.h"
#include "qt/sysinfo/system_windows.h"

namespace {

// Lets the windows run for a while (their timers tick, the splash rolls open).
void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: system_shots PCINFO.png SPLASH.png\n", stderr);
    return 2;
  }
  auto services = velmora::linux_platform::LinuxServices("es_MX");
  velmora::qt::QtSystemWindows windows(services->system, services->locale);
  int status = 0;

  windows.ShowPcInfo(false);
  Wait(1000);
  if (!windows.pc_info()->grab().save(QString::fromLocal8Bit(argv[1]))) status = 1;
  windows.pc_info()->finalizar()->click();

  windows.ShowSplash(false);
  Wait(1000);
  if (!windows.splash()->grab().save(QString::fromLocal8Bit(argv[2]))) status = 1;
  windows.splash()->salir()->click();
  windows.WaitWhileOpen();
  return status;
}
