#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>

#include "linux/photo_disk.h"
#include "qt/frm_toma_foto.h"
#include "qt/qt_camera.h"
#include "qt/qt_form.h"
#include "qt/qt_photo.h"
#include "qt/qt_picture.h"
#include "qt_services.h"
#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/photo.h"

namespace velmora::qt {
namespace {

namespace fs = std::filesystem;

QString Q(std::u16string_view s) { return QString::fromUtf16(s.data(), qsizetype(s.size())); }

// Records the boxes and answers from a script (Yes or OK when it runs out).
class RecordingBox final : public MessageBox {
 public:
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override {
    shown.push_back({std::u16string(text), std::u16string(title), icon});
    if (answers.empty()) return buttons == MsgButtons::kYesNo ? MsgResult::kYes : MsgResult::kOk;
    const MsgResult r = answers.front();
    answers.pop_front();
    return r;
  }
  struct Box {
    std::u16string text, title;
    MsgIcon icon;
  };
  std::vector<Box> shown;
  std::deque<MsgResult> answers;
};

class QtPump final : public EventPump {
 public:
  void ProcessPending() override { QCoreApplication::processEvents(); }
};

bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

void Write(const fs::path& p, const char* bytes) {
  QFile f(QString::fromStdString(p.string()));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

std::string Head(const fs::path& p, int n) {
  QFile f(QString::fromStdString(p.string()));
  if (!f.open(QIODevice::ReadOnly)) return "<none>";
  return f.read(n).toStdString();
}

class CaptureWindowQt : public ::testing::Test {
 protected:
  CaptureWindowQt() {
    std::string templ = (fs::temp_directory_path() / "velmora-frm-XXXXXX").string();
    dir = mkdtemp(templ.data());
    fs::create_directory(dir / "fotos");
    auto s = FixedServices(MakeDate({2009, 3, 15}, {10, 0, 0}));
    AddQtServices(*s);
    s->photo_files = std::make_shared<linux_platform::LinuxPhotoFiles>();
    camera = std::make_shared<QtCamera>(QtCamera::Source::kTestPattern);
    s->camera = camera;
    s->message_box = boxes;
    s->events = std::make_shared<QtPump>();
    services = s;
    dolva = std::make_unique<Dolva>(services);
    ThreadPhotoState() = {};
  }
  ~CaptureWindowQt() override { fs::remove_all(dir); }

  // Runs PhotoWay with the user's part played by the script on the real window; the window is
  // then closed with its close box unless it closed itself.
  std::u16string PhotoWay(std::u16string name, const std::function<void(FrmTomaFoto&)>& script,
                          const std::string& subfolder = "fotos") {
    std::u16string folder = (dir / subfolder).u16string();
    // The window is loaded (and lets events run) before it shows: wait until it is up.
    std::function<void()> play = [&] {
      auto* window = qobject_cast<FrmTomaFoto*>(QApplication::activeModalWidget());
      if (window == nullptr) {
        QTimer::singleShot(10, play);
        return;
      }
      script(*window);
      if (window->isVisible()) window->close();
    };
    QTimer::singleShot(0, play);
    return dolva->PhotoWay(name, folder);
  }
  template <typename W = QAbstractButton>
  static W* Get(QWidget& w, const char* name) {
    auto* found = w.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  static bool HasPicture(QWidget& w, const char* name) {
    const QLabel* label = Get<QLabel>(w, name);
    return label != nullptr && !label->pixmap().isNull();
  }
  // Replaces the text of a box key by key, as a user types it.
  static void Type(QLineEdit& box, const QString& text) {
    box.selectAll();
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QCoreApplication::sendEvent(&box, &press);
    }
  }
  // Webcam chosen, a live frame seen, a still taken.
  static void TakeStill(FrmTomaFoto& w) {
    Get(w, "Option1")->click();
    Get(w, "CmdFoto")->click();
    ASSERT_TRUE(WaitFor([&] { return HasPicture(w, "ImageTake"); }));
    Get(w, "Command1")->click();
  }

  fs::path dir;
  std::shared_ptr<RecordingBox> boxes = std::make_shared<RecordingBox>();
  std::shared_ptr<QtCamera> camera;
  std::shared_ptr<const Services> services;
  std::unique_ptr<Dolva> dolva;
};

TEST(QtPictures, LoadByContentWhateverTheExtension) {
  const fs::path dir = fs::temp_directory_path() / ("velmora-pic-" + std::to_string(getpid()));
  fs::create_directories(dir);
  QImage image(8, 6, QImage::Format_RGB32);
  image.fill(Qt::red);
  struct Case {
    const char* file;
    const char* format;  // what is written into it; null for text
    bool loads;
  } cases[] = {{"bmp.jpg", "BMP", true},
               {"png.bmp", "PNG", true},
               {"jpeg.Jpg", "JPEG", true},
               {"texto.jpg", nullptr, false},
               {"vacio.bmp", "", false}};
  for (const auto& c : cases) {
    const QString path = QString::fromStdString((dir / c.file).string());
    if (c.format == nullptr) {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("no soy una imagen");
    } else if (*c.format == 0) {
      QFile(path).open(QIODevice::WriteOnly);
    } else {
      ASSERT_TRUE(image.save(path, c.format));
    }
    QtPictureLoader loader;
    int error = 0;
    ObjectRef picture;
    try {
      picture = loader.Load(path.toStdU16String());
    } catch (const Error& e) {
      error = e.number();
    }
    EXPECT_EQ(error, c.loads ? 0 : err::kInvalidPicture) << c.file;
    if (c.loads) {
      EXPECT_EQ(ImageOf(picture).size(), QSize(8, 6)) << c.file;
    }
  }
  fs::remove_all(dir);
}

TEST(QtPictures, BitmapFilesStartWithBMAndReadBack) {
  QImage image(5, 3, QImage::Format_RGB32);
  image.fill(QColor(10, 200, 30));
  const auto bytes = QtBitmapEncoder().BitmapFile(std::make_shared<QtPicture>(image));
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  QImage back;
  ASSERT_TRUE(back.loadFromData(bytes.data(), int(bytes.size()), "BMP"));
  EXPECT_EQ(back.size(), image.size());
  EXPECT_EQ(back.pixelColor(4, 2), QColor(10, 200, 30));
  int error = 0;
  try {
    QtBitmapEncoder().BitmapFile(nullptr);
  } catch (const Error& e) {
    error = e.number();
  }
  EXPECT_EQ(error, err::kInvalidPicture);
}

TEST(QtPictures, DialogFiltersIgnoreCase) {
  EXPECT_EQ(NameFilters(u"Fotografías |*.Jpg;*.Bmp"),
            QStringList{QStringLiteral("Fotografías  (*.[Jj][Pp][Gg] *.[Bb][Mm][Pp])")});
  EXPECT_EQ(NameFilters(u"Todos|*.*|Texto|*.txt").size(), 2);
}

// The photo folder lies under a folder of the test's own; pictures are read where it lies.
class RootedLoader final : public PictureLoader {
 public:
  explicit RootedLoader(std::shared_ptr<linux_platform::LinuxPhotoFiles> disk)
      : disk_(std::move(disk)) {}
  ObjectRef Load(const std::u16string& path) override {
    return QtPictureLoader().Load(QString::fromStdString(disk_->SystemPath(path)).toStdU16String());
  }

 private:
  std::shared_ptr<linux_platform::LinuxPhotoFiles> disk_;
};

TEST(QtFotografia, ShowsTheStoredPhotoOnAQtForm) {
  std::string templ = (fs::temp_directory_path() / "velmora-root-XXXXXX").string();
  const fs::path root = mkdtemp(templ.data());
  const fs::path fotos = root / "Ponderix" / "Fotos";
  fs::create_directories(fotos);
  QImage image(6, 4, QImage::Format_RGB32);
  image.fill(Qt::blue);
  ASSERT_TRUE(image.save(QString::fromStdString((fotos / "JUAN.jpg").string()), "BMP"));
  QFile bad(QString::fromStdString((fotos / "roto.JPG").string()));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("no es una imagen");
  bad.close();

  auto s = FixedServices(MakeDate({2009, 3, 15}, {10, 0, 0}));
  auto disk = std::make_shared<linux_platform::LinuxPhotoFiles>(root.string());
  s->photo_files = disk;
  s->pictures = std::make_shared<RootedLoader>(disk);
  Dolva dolva(s);
  QWidget window;
  auto* label = new QLabel(&window);
  label->setObjectName(QStringLiteral("Image1"));
  label->resize(60, 40);
  auto form = std::make_shared<QtForm>(&window);
  form->AddNamedChildren();

  std::u16string name = u"juan";
  dolva.Fotografia(name, form);
  ASSERT_FALSE(label->pixmap().isNull());
  EXPECT_EQ(label->pixmap().size(), QSize(6, 4));
  EXPECT_TRUE(label->hasScaledContents());
  std::u16string broken = u"ROTO";
  int error = 0;
  try {
    dolva.Fotografia(broken, form);
  } catch (const Error& e) {
    error = e.number();
  }
  EXPECT_EQ(error, err::kInvalidPicture);
  EXPECT_FALSE(label->pixmap().isNull()) << "the form keeps its picture";
  dolva.NOFoto(form);
  EXPECT_TRUE(label->pixmap().isNull());
  fs::remove_all(root);
}

TEST(QtCameraDevice, NoCameraIsSilent) {
  QtCamera camera;  // the machine's first camera, if it has one
  camera.Connect();
  WaitFor([] { return false; }, 200);
  const ObjectRef frame = camera.Grab();
  EXPECT_TRUE(frame == nullptr || !ImageOf(frame).isNull());
  camera.Release();
  EXPECT_EQ(camera.Grab(), nullptr);
}

TEST_F(CaptureWindowQt, ControlsCarryTheirCaptionsAndTips) {
  PhotoWay(u" ana ", [](FrmTomaFoto& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Cámara Fotográfica"));
    struct Case {
      const char* name;
      const char* text;
      const char* tip;
    } cases[] = {
        {"Option1", "Desde la Web Cam", "Indica que se tomará la Fotografía al Usuario"},
        {"Option2", "Desde un Archivo",
         "Indica que se utilizará una Fotografía existente del Usuario"},
        {"CmdFoto", "Tomar Fotografía ...", "Click para adquirir la Fotografía del Usuario"},
        {"Command1", "Click", "Toma la Fotografía"},
        {"Command2", "Guardar", "Guarda la Fotografía"},
        {"Command3", "Limpiar", "Limpia la Ventana"},
    };
    for (const auto& c : cases) {
      auto* b = Get(w, c.name);
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->text(), QString::fromUtf8(c.text));
      EXPECT_EQ(b->toolTip(), QString::fromUtf8(c.tip));
    }
    EXPECT_EQ(Get<QLabel>(w, "Label3")->text(), QStringLiteral("Imagen en Vivo"));
    EXPECT_EQ(Get<QLabel>(w, "Label4")->text(), QStringLiteral("Imagen Capturada"));
    EXPECT_EQ(Get<QGroupBox>(w, "Frame2")->title(), QStringLiteral("Comandos "));
    EXPECT_EQ(Get<QLineEdit>(w, "Text1")->text(), QStringLiteral("ANA"));
    EXPECT_FALSE(Get(w, "Option1")->isChecked() || Get(w, "Option2")->isChecked());
    EXPECT_TRUE(Get<QWidget>(w, "Frame3")->isVisible());
    EXPECT_EQ(w.size(), QSize(700, 336));  // 10500 x 5040 twips at 96 dpi
    EXPECT_EQ(Get<QWidget>(w, "Picture1")->size(), QSize(275, 271));
  });
}

TEST_F(CaptureWindowQt, WebcamStillIsSavedAsABitmapAndTheCameraReleased) {
  const auto result = PhotoWay(u" ana ", [this](FrmTomaFoto& w) {
    Get(w, "CmdFoto")->click();  // nothing chosen yet
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].title, u"ERROR DE SELECCIÓN");
    EXPECT_TRUE(Get<QWidget>(w, "Frame3")->isVisible());
    Get(w, "Option1")->click();
    Get(w, "CmdFoto")->click();
    EXPECT_FALSE(Get<QWidget>(w, "Frame3")->isVisible());
    EXPECT_TRUE(Get(w, "Command1")->isVisible());
    EXPECT_FALSE(Get(w, "Command2")->isVisible() || Get(w, "Command3")->isVisible());
    ASSERT_TRUE(WaitFor([&] { return HasPicture(w, "ImageTake"); }));
    EXPECT_EQ(Get<QLabel>(w, "ImageTake")->pixmap().size(), Get<QLabel>(w, "ImageTake")->size());
    Get(w, "Command1")->click();
    EXPECT_TRUE(Get<QWidget>(w, "Image1")->isVisible() && HasPicture(w, "Image1"));
    EXPECT_TRUE(Get(w, "Command2")->isVisible() && Get(w, "Command3")->isVisible());
    Get(w, "Command3")->click();
    EXPECT_FALSE(Get<QWidget>(w, "Image1")->isVisible() || Get(w, "Command2")->isVisible());
    Get(w, "Command1")->click();
    Get(w, "Command2")->click();
    EXPECT_FALSE(w.isVisible());
  });
  // The folder as the disk spells it, not as PhotoWay upper-cased it: the path opens.
  EXPECT_EQ(result, (dir / "fotos" / "ANA.jpg").u16string());
  EXPECT_EQ(Head(dir / "fotos" / "ANA.jpg", 2), "BM");
  const QImage saved = ImageOf(QtPictureLoader().Load((dir / "fotos" / "ANA.jpg").u16string()));
  EXPECT_EQ(saved.size(), QSize(640, 480));
  EXPECT_EQ(camera->Grab(), nullptr) << "released on unload";
  EXPECT_EQ(boxes->shown.size(), 1u);
}

TEST_F(CaptureWindowQt, ReplaceQuestionYesReplacesNoKeeps) {
  struct Case {
    MsgResult answer;
    bool replaced;
  } cases[] = {{MsgResult::kYes, true}, {MsgResult::kNo, false}};
  for (const auto& c : cases) {
    QFile old(QString::fromStdString((dir / "fotos" / "luis.JPG").string()));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("foto anterior");
    old.close();
    boxes->answers = {c.answer};
    boxes->shown.clear();
    const auto result = PhotoWay(u"luis", [](FrmTomaFoto& w) {
      TakeStill(w);
      Get(w, "Command2")->click();
    });
    EXPECT_EQ(result, (dir / "fotos" / "luis.JPG").u16string());
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].title, u"Precaución");
    EXPECT_EQ(Head(dir / "fotos" / "luis.JPG", 2), c.replaced ? "BM" : "fo");
    EXPECT_FALSE(fs::exists(dir / "fotos" / "LUIS.jpg")) << "the stored spelling is kept";
  }
}

TEST_F(CaptureWindowQt, ASaveThatCannotBeWrittenIsReportedAndTheWindowStays) {
  // A folder named like the photo: no file can take its place.
  fs::create_directory(dir / "fotos" / "EVA.jpg");
  boxes->answers = {MsgResult::kYes};
  ThreadPhotoState().path = u"antes";
  const auto result = PhotoWay(u"eva", [this](FrmTomaFoto& w) {
    TakeStill(w);
    Get(w, "Command2")->click();
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].title, u"Cámara Fotográfica");
    EXPECT_EQ(boxes->shown[0].icon, MsgIcon::kCritical);
  });
  EXPECT_EQ(result, u"antes");
  EXPECT_TRUE(fs::is_directory(dir / "fotos" / "EVA.jpg"));
}

TEST_F(CaptureWindowQt, FileModeAnswersTheRealDialog) {
  const fs::path existing = dir / "Mi Foto.BMP";
  QImage(4, 4, QImage::Format_RGB32).save(QString::fromStdString(existing.string()), "BMP");
  struct Case {
    std::u16string chosen;  // empty: the dialog is cancelled
    std::u16string result;
  } cases[] = {
      {(dir / "Mi Foto.BMP").u16string(), (dir / "Mi Foto.BMP").u16string()},
      {u"", u""},
  };
  for (const auto& c : cases) {
    ThreadPhotoState().path = u"antes";
    QString title, filter, shown_filter;
    const auto result = PhotoWay(u"ana", [&](FrmTomaFoto& w) {
      Get(w, "Option2")->click();
      QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        filter = dialog->nameFilters().value(0);
        if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
          shown_filter = combo->currentText();
        }
        if (c.chosen.empty()) {
          dialog->reject();
        } else {
          dialog->selectFile(Q(c.chosen));
          static_cast<QDialog*>(dialog)->accept();  // as the Open button does
        }
      });
      Get(w, "CmdFoto")->click();
      EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(title, QStringLiteral("Busca la Fotografía del Usuario"));
    // Qt folds the blanks around a description; the user sees the description alone.
    EXPECT_EQ(filter, QStringLiteral("Fotografías (*.[Jj][Pp][Gg] *.[Bb][Mm][Pp])"));
    EXPECT_EQ(shown_filter, QStringLiteral("Fotografías"));
  }
}

// A path typed into the name box is refused when "Guardar" is pressed: nothing is written
// anywhere, the window stays with its still, and a plain name then saves.
TEST_F(CaptureWindowQt, APathTypedAsTheNameIsRefusedAndNothingIsWritten) {
  // "../../outside/EVIL" from the photo folder a/fotos is outside/EVIL of the test's folder.
  fs::create_directories(dir / "a" / "fotos");
  fs::create_directories(dir / "outside");
  Write(dir / "outside" / "EVIL.jpg", "no soy la foto");
  const auto result = PhotoWay(
      u"ana",
      [this](FrmTomaFoto& w) {
        TakeStill(w);
        auto* name = Get<QLineEdit>(w, "Text1");
        Type(*name, QStringLiteral("../../outside/EVIL"));
        Get(w, "Command2")->click();
        ASSERT_EQ(boxes->shown.size(), 1u);
        EXPECT_EQ(boxes->shown[0].text,
                  u"El nombre de la fotografía no es válido: lleva / o \\, que separan carpetas.");
        EXPECT_EQ(boxes->shown[0].title, u"Cámara Fotográfica");
        EXPECT_EQ(boxes->shown[0].icon, MsgIcon::kExclamation);
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(Get(w, "Command2")->isVisible() && HasPicture(w, "Image1"));
        EXPECT_EQ(name->text(), QStringLiteral("../../outside/EVIL"));
        Type(*name, QStringLiteral("Eva"));
        Get(w, "Command2")->click();
        EXPECT_FALSE(w.isVisible());
      },
      "a/fotos");
  EXPECT_EQ(result, (dir / "a" / "fotos" / "Eva.jpg").u16string());
  EXPECT_EQ(Head(dir / "outside" / "EVIL.jpg", 14), "no soy la foto");
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    names.push_back(fs::relative(e.path(), dir).string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a", "a/fotos", "a/fotos/Eva.jpg", "fotos", "outside",
                                             "outside/EVIL.jpg"}));
}

TEST_F(CaptureWindowQt, CloseBoxKeepsThePreviousPath) {
  ThreadPhotoState().path = u"/FOTOS/ANTERIOR.jpg";
  EXPECT_EQ(PhotoWay(u"ana", [](FrmTomaFoto& w) { TakeStill(w); }), u"/FOTOS/ANTERIOR.jpg");
  EXPECT_FALSE(fs::exists(dir / "fotos" / "ANA.jpg"));
}

}  // namespace
}  // namespace velmora::qt
