// FrmTomaFoto, the photo capture window, as a Qt dialog over the toolkit-free CaptureWindow.
#pragma once

#include <QDialog>
#include <functional>

#include "qt/twips.h"
#include "velmora/photo.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace velmora::qt {

// Builds the controls with the names, captions and tips of the window and copies the model's
// state into them after every user action and every timer tick. Closing by the model's request
// accepts the dialog; the close box rejects it and leaves the photo path alone.
class FrmTomaFoto final : public QDialog {
  Q_OBJECT

 public:
  explicit FrmTomaFoto(CaptureWindow& model, QWidget* parent = nullptr);

 private:
  void Build();
  // Runs a user action on the model; a failure that escapes it is told to the user, never to
  // the host's event loop.
  void Act(const std::function<void()>& action);
  // Copies what the model shows into the widgets.
  void CopyModel();
  void RefreshLive();
  void ShowPicture(QLabel* box, const ObjectRef& picture);

  CaptureWindow& model_;
  Twips twips_;
  QTimer* timer_ = nullptr;
  QFrame* frame3_ = nullptr;
  QRadioButton* option1_ = nullptr;
  QRadioButton* option2_ = nullptr;
  QPushButton* cmd_foto_ = nullptr;
  QLabel* image_take_ = nullptr;
  QLabel* image1_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* command3_ = nullptr;
  std::uint64_t live_shown_ = ~0ULL;
  std::uint64_t still_shown_ = ~0ULL;
};

}  // namespace velmora::qt
