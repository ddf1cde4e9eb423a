// The camera of the capture window through Qt Multimedia.
#pragma once

#include <QObject>
#include <QSize>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>
#include <memory>
#include <vector>

#include "velmora/photo.h"

class QCamera;
class QMediaCaptureSession;

namespace velmora::qt {

// The first camera of the system, or a synthetic test pattern that moves like a live picture
// (for machines without a camera, the tests and the load measurement). Frames arrive on the
// video sink; Grab converts only the newest one and only once, so a window polling on a 1 ms
// timer costs next to nothing between frames. Every failure is silent: without a camera, or
// with one that errs, Grab answers an empty reference.
class QtCamera final : public QObject, public Camera {
  Q_OBJECT

 public:
  enum class Source { kFirstDevice, kTestPattern };

  explicit QtCamera(Source source = Source::kFirstDevice, QSize pattern_size = QSize(640, 480),
                    int pattern_fps = 30);
  ~QtCamera() override;

  void Connect() override;
  ObjectRef Grab() override;
  void Release() override;

  // Frames handed to the sink are what Grab delivers; a backend or a test may feed it. Made on
  // first use, so a process that never opens the window never starts Qt Multimedia.
  QVideoSink* sink();
  // How many frames arrived and how many of them were converted into pictures.
  int frames_arrived() const { return frames_arrived_; }
  int frames_converted() const { return frames_converted_; }

 private:
  void FrameArrived(const QVideoFrame& frame);
  void FeedPattern();
  void MakePattern();

  Source source_;
  QSize pattern_size_;
  int pattern_fps_;
  std::unique_ptr<QVideoSink> sink_;
  std::unique_ptr<QMediaCaptureSession> session_;
  std::unique_ptr<QCamera> camera_;
  std::unique_ptr<QTimer> pattern_timer_;
  std::vector<QVideoFrame> pattern_;
  std::size_t pattern_next_ = 0;
  QVideoFrame newest_;
  bool fresh_ = false;
  ObjectRef current_;
  int frames_arrived_ = 0;
  int frames_converted_ = 0;
};

}  // namespace velmora::qt
