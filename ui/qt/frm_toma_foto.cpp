#include "qt/frm_toma_foto.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "qt/qt_picture.h"
#include "velmora/error.h"

namespace velmora::qt {

namespace {

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

using namespace capture_layout;
using Place = ControlPlace;

}  // namespace

FrmTomaFoto::FrmTomaFoto(CaptureWindow& model, QWidget* parent)
    : QDialog(parent), model_(model), twips_(this) {
  Build();
  CopyModel();
  // The live image follows the camera on the shortest timer, from load to unload.
  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer1"));
  timer_->setInterval(CaptureWindow::kTickMilliseconds);
  connect(timer_, &QTimer::timeout, this, &FrmTomaFoto::RefreshLive);
  timer_->start();
}

void FrmTomaFoto::Build() {
  setObjectName(QStringLiteral("FrmTomaFoto"));
  setWindowTitle(Q(CaptureWindow::kCaption));
  setFixedSize(twips_.X(CaptureWindow::kClientWidth), twips_.Y(CaptureWindow::kClientHeight));
  auto place = [this](QWidget* w, const Place& p, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(twips_.Rect(p.x, p.y, p.w, p.h));
  };
  auto tip = [](QWidget* w, std::u16string_view text) { w->setToolTip(Q(text)); };

  auto* frame1 = new QGroupBox(this);
  place(frame1, kFrame1, "Frame1");
  auto* label3 = new QLabel(Q(CaptureWindow::kLiveTitle), frame1);
  place(label3, kLabel3, "Label3");
  auto* label4 = new QLabel(Q(CaptureWindow::kStillTitle), frame1);
  place(label4, kLabel4, "Label4");
  auto picture_box = [&](const Place& p, const char* box_name, const char* image_name) {
    auto* box = new QFrame(frame1);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    place(box, p, box_name);
    auto* image = new QLabel(box);
    image->setObjectName(QString::fromLatin1(image_name));
    image->setGeometry(box->contentsRect());
    return image;
  };
  image_take_ = picture_box(kPicture1, "Picture1", "ImageTake");
  image1_ = picture_box(kPicture2, "Picture2", "Image1");
  text1_ = new QLineEdit(frame1);
  place(text1_, kText1, "Text1");
  label1_ = new QLabel(frame1);
  place(label1_, kLabel1, "Label1");
  label2_ = new QLabel(frame1);
  place(label2_, kLabel2, "Label2");

  auto* frame2 = new QGroupBox(Q(CaptureWindow::kCommandsFrame), this);
  place(frame2, kFrame2, "Frame2");
  command1_ = new QPushButton(Q(CaptureWindow::kClickButton), frame2);
  place(command1_, kCommand1, "Command1");
  tip(command1_, CaptureWindow::kClickTip);
  command2_ = new QPushButton(Q(CaptureWindow::kSaveButton), frame2);
  place(command2_, kCommand2, "Command2");
  tip(command2_, CaptureWindow::kSaveTip);
  command3_ = new QPushButton(Q(CaptureWindow::kClearButton), frame2);
  place(command3_, kCommand3, "Command3");
  tip(command3_, CaptureWindow::kClearTip);

  // The selection panel lies over everything else until the webcam is chosen.
  frame3_ = new QFrame(this);
  place(frame3_, kFrame3, "Frame3");
  frame3_->setAutoFillBackground(true);
  auto* frame4 = new QGroupBox(frame3_);
  place(frame4, kFrame4, "Frame4");
  option1_ = new QRadioButton(Q(CaptureWindow::kWebcamOption), frame4);
  place(option1_, kOption1, "Option1");
  tip(option1_, CaptureWindow::kWebcamTip);
  option2_ = new QRadioButton(Q(CaptureWindow::kFileOption), frame4);
  place(option2_, kOption2, "Option2");
  tip(option2_, CaptureWindow::kFileTip);
  cmd_foto_ = new QPushButton(Q(CaptureWindow::kTakeButton), frame3_);
  place(cmd_foto_, kCmdFoto, "CmdFoto");
  tip(cmd_foto_, CaptureWindow::kTakeTip);
  // No button is the default: Enter in the name box must not take or store a photo.
  for (auto* b : {command1_, command2_, command3_, cmd_foto_}) b->setAutoDefault(false);

  connect(option1_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Act([this] { model_.SelectSource(PhotoSource::kWebcam); });
  });
  connect(option2_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Act([this] { model_.SelectSource(PhotoSource::kFile); });
  });
  connect(text1_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Act([&] { model_.EditName(text.toStdU16String()); }); });
  connect(cmd_foto_, &QPushButton::clicked, this, [this] { Act([this] { model_.TakePhoto(); }); });
  connect(command1_, &QPushButton::clicked, this, [this] { Act([this] { model_.Click(); }); });
  connect(command2_, &QPushButton::clicked, this, [this] { Act([this] { model_.Save(); }); });
  connect(command3_, &QPushButton::clicked, this, [this] { Act([this] { model_.Clear(); }); });
}

void FrmTomaFoto::Act(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const Error*>(&e);
    const std::u16string text = error ? error->description(model_.services().locale.spanish)
                                      : std::u16string(u"Error inesperado");
    try {
      if (model_.services().message_box) {
        model_.services().message_box->Show(text, CaptureWindow::kFailureTitle, MsgIcon::kCritical,
                                            MsgButtons::kOk);
      }
    } catch (...) {
      // Nothing is left to tell the user with; the host goes on regardless.
    }
  }
  CopyModel();
}

void FrmTomaFoto::CopyModel() {
  frame3_->setVisible(model_.panel_visible());
  image1_->setVisible(model_.still_visible());
  command2_->setVisible(model_.save_visible());
  command3_->setVisible(model_.clear_visible());
  label2_->setVisible(model_.status_visible());
  const QString name = Q(model_.name_text());
  if (text1_->text() != name) text1_->setText(name);
  label1_->setText(Q(model_.folder_text()));
  label2_->setText(Q(model_.status_text()));
  if (model_.still_revision() != still_shown_) {
    still_shown_ = model_.still_revision();
    ShowPicture(image1_, model_.still_picture());
  }
  RefreshLive();
  if (model_.closing() && result() != QDialog::Accepted) {
    if (timer_ != nullptr) timer_->stop();
    done(QDialog::Accepted);
  }
}

void FrmTomaFoto::RefreshLive() {
  model_.Tick();
  // Scaled only when a new frame came: between frames a tick costs a comparison.
  if (model_.live_revision() == live_shown_) return;
  live_shown_ = model_.live_revision();
  ShowPicture(image_take_, model_.live_picture());
}

void FrmTomaFoto::ShowPicture(QLabel* box, const ObjectRef& picture) {
  const QImage image = ImageOf(picture);
  if (image.isNull()) {
    box->clear();
    return;
  }
  // The image controls stretch the picture to their own size.
  box->setPixmap(QPixmap::fromImage(
      image.scaled(box->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace velmora::qt
