// Opens the capture window on the moving 640x480 test pattern, chooses the webcam and then
// either measures the process's CPU time over a span of live image, or takes a still and saves
// a picture of the window.
//   capture_probe --seconds 10              prints the CPU use of the open window
//   capture_probe --screenshot capture.png  saves the window with a live image and a still
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "linux/services.h"
#include "qt/frm_toma_foto.h"
#include "qt/qt_camera.h"
#include "velmora/dolva.h"

namespace {

using namespace velmora;

class SilentBox final : public MessageBox {
 public:
  MsgResult Show(std::u16string_view, std::u16string_view, MsgIcon, MsgButtons) override {
    return MsgResult::kOk;
  }
};

class QtPump final : public EventPump {
 public:
  void ProcessPending() override { QCoreApplication::processEvents(); }
};

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Lets the window run for a while, sleeping between events as the host's own loop would.
void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int seconds =
      args.contains("--seconds") ? args.value(args.indexOf("--seconds") + 1).toInt() : 10;
  const QString screenshot =
      args.contains("--screenshot") ? args.value(args.indexOf("--screenshot") + 1) : QString();

  auto services = linux_platform::LinuxServices("es_MX");
  services->clock = std::make_shared<FixedClock>(MakeDate({2009, 3, 15}, {10, 0, 0}));
  auto camera = std::make_shared<qt::QtCamera>(qt::QtCamera::Source::kTestPattern);
  services->camera = camera;
  services->message_box = std::make_shared<SilentBox>();
  services->events = std::make_shared<QtPump>();
  Dolva dolva(services);
  QTemporaryDir folder;

  int status = 0;
  std::function<void()> play = [&] {
    auto* window = qobject_cast<qt::FrmTomaFoto*>(QApplication::activeModalWidget());
    if (window == nullptr) {
      QTimer::singleShot(10, play);
      return;
    }
    auto button = [&](const char* name) { return window->findChild<QAbstractButton*>(name); };
    button("Option1")->click();
    button("CmdFoto")->click();
    Wait(1000);  // the pattern is made and the first frames arrive
    if (screenshot.isEmpty()) {
      const int arrived = camera->frames_arrived(), converted = camera->frames_converted();
      const double cpu = CpuSeconds();
      QElapsedTimer clock;
      clock.start();
      Wait(seconds * 1000);
      const double wall = double(clock.elapsed()) / 1000.0;
      const double used = CpuSeconds() - cpu;
      std::printf(
          "window open %.1f s: CPU %.2f s = %.1f %% of one core; frames %d arrived, %d converted\n",
          wall, used, 100.0 * used / wall, camera->frames_arrived() - arrived,
          camera->frames_converted() - converted);
    } else {
      button("Command1")->click();
      Wait(300);
      if (!window->grab().save(screenshot)) status = 1;
    }
    window->close();
  };
  QTimer::singleShot(0, play);
  // The screenshot saves nothing, so it may show the folder a host would really pass.
  std::u16string name = u"ana", path = screenshot.isEmpty() ? folder.path().toStdU16String()
                                                            : std::u16string(u"/Ponderix/Fotos");
  dolva.PhotoWay(name, path);
  return status;
}
