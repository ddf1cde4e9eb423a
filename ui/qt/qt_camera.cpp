#include "qt/qt_camera.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPainter>
#include <algorithm>

#include "qt/qt_picture.h"

namespace velmora::qt {

namespace {

// Webcams deliver packed YUV 4:2:2 more often than anything else, so the pattern comes in that
// form and the conversion a real camera costs is paid for it too.
QVideoFrame ToYuyv(const QImage& rgb) {
  QVideoFrame frame(QVideoFrameFormat(rgb.size(), QVideoFrameFormat::Format_YUYV));
  if (!frame.map(QVideoFrame::WriteOnly)) return {};
  const QImage src = rgb.convertToFormat(QImage::Format_RGB32);
  auto clamp = [](int v) { return static_cast<uchar>(std::clamp(v, 0, 255)); };
  for (int y = 0; y < src.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    uchar* out = frame.bits(0) + y * frame.bytesPerLine(0);
    for (int x = 0; x + 1 < src.width(); x += 2) {
      const QRgb a = in[x], b = in[x + 1];
      auto luma = [](QRgb c) {
        return (66 * qRed(c) + 129 * qGreen(c) + 25 * qBlue(c) + 128) / 256 + 16;
      };
      const int r = (qRed(a) + qRed(b)) / 2, g = (qGreen(a) + qGreen(b)) / 2,
                bl = (qBlue(a) + qBlue(b)) / 2;
      out[2 * x] = clamp(luma(a));
      out[2 * x + 1] = clamp((-38 * r - 74 * g + 112 * bl + 128) / 256 + 128);
      out[2 * x + 2] = clamp(luma(b));
      out[2 * x + 3] = clamp((112 * r - 94 * g - 18 * bl + 128) / 256 + 128);
    }
  }
  frame.unmap();
  return frame;
}

}  // namespace

QtCamera::QtCamera(Source source, QSize pattern_size, int pattern_fps)
    : source_(source), pattern_size_(pattern_size), pattern_fps_(std::max(1, pattern_fps)) {}

QtCamera::~QtCamera() { Release(); }

QVideoSink* QtCamera::sink() {
  if (!sink_) {
    sink_ = std::make_unique<QVideoSink>();
    connect(sink_.get(), &QVideoSink::videoFrameChanged, this, &QtCamera::FrameArrived);
  }
  return sink_.get();
}

void QtCamera::Connect() {
  if (source_ == Source::kTestPattern) {
    if (pattern_.empty()) MakePattern();
    if (!pattern_timer_) {
      pattern_timer_ = std::make_unique<QTimer>();
      connect(pattern_timer_.get(), &QTimer::timeout, this, &QtCamera::FeedPattern);
    }
    pattern_timer_->start(1000 / pattern_fps_);
    return;
  }
  const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
  if (inputs.isEmpty()) return;  // no camera: the normal case on a server
  session_ = std::make_unique<QMediaCaptureSession>();
  camera_ = std::make_unique<QCamera>(inputs.first());
  session_->setCamera(camera_.get());
  session_->setVideoSink(sink());
  // A camera that fails (busy, unplugged) simply delivers no frames.
  camera_->start();
}

ObjectRef QtCamera::Grab() {
  if (fresh_) {
    fresh_ = false;
    QImage image = newest_.toImage();
    newest_ = QVideoFrame();
    if (!image.isNull()) {
      current_ = std::make_shared<QtPicture>(std::move(image));
      ++frames_converted_;
    }
  }
  return current_;
}

void QtCamera::Release() {
  if (pattern_timer_) pattern_timer_->stop();
  if (camera_) {
    camera_->stop();
    session_->setCamera(nullptr);
    session_->setVideoSink(nullptr);
    camera_.reset();
    session_.reset();
  }
  fresh_ = false;
  newest_ = QVideoFrame();
  current_.reset();
}

void QtCamera::FrameArrived(const QVideoFrame& frame) {
  // Only kept here: converting waits for the next Grab, and a frame nobody grabbed is dropped.
  ++frames_arrived_;
  newest_ = frame;
  fresh_ = frame.isValid();
}

void QtCamera::FeedPattern() {
  sink()->setVideoFrame(pattern_[pattern_next_]);
  pattern_next_ = (pattern_next_ + 1) % pattern_.size();
}

void QtCamera::MakePattern() {
  // Colour bars with a bright band sweeping across them, a short loop of frames.
  static const QColor kBars[] = {Qt::white,   Qt::yellow, Qt::cyan, Qt::green,
                                 Qt::magenta, Qt::red,    Qt::blue, Qt::black};
  constexpr int frames = 16;
  const int w = pattern_size_.width(), h = pattern_size_.height();
  for (int i = 0; i < frames; ++i) {
    QImage image(pattern_size_, QImage::Format_RGB32);
    QPainter p(&image);
    for (int b = 0; b < 8; ++b) p.fillRect(b * w / 8, 0, w / 8 + 1, h, kBars[b]);
    p.fillRect(i * w / frames, 0, w / 16, h, QColor(255, 255, 255, 160));
    p.fillRect(0, h * 3 / 4, w, h / 4, QColor(30, 30, 30));
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(h / 10);
    p.setFont(font);
    p.drawText(QRect(0, h * 3 / 4, w, h / 4), Qt::AlignCenter, QStringLiteral("Velmora"));
    p.end();
    pattern_.push_back(ToYuyv(image));
  }
}

}  // namespace velmora::qt
