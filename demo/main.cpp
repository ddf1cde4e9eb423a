// velmora-demo: a host form whose buttons call the form routines of Dolva, to try them by hand.
//
//   velmora-demo                      opens the form
//   velmora-demo --screenshot F.png   fills the form, validates its date, saves a picture of the
//                                     window to F.png and quits
//   velmora-demo --test-pattern       the photo box's camera is a moving test pattern
//
// Without a display (no X server or Wayland compositor that answers, no QT_QPA_PLATFORM=offscreen)
// it says so in one line and exits with status 2.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>

#include "linux/display.h"
#include "linux/services.h"
#include "qt/qt_camera.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_form.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora::demo {

namespace {

// Heights of the form: all of it, and the top part alone (the rights test hidden).
constexpr std::int16_t kFullHeight = 440;
constexpr std::int16_t kShortHeight = 300;

// Lets the form repaint between the steps of the height effect, slowly enough to be seen.
class VisiblePump final : public EventPump {
 public:
  void ProcessPending() override {
    pump_.ProcessPending();
    QThread::msleep(6);
  }

 private:
  qt::QtEventPump pump_;
};

QString FromText(const std::u16string& s) { return QString::fromStdU16String(s); }
std::u16string ToText(const QString& s) { return s.toStdU16String(); }

}  // namespace

// The host's form. Controls are named the way the routines expect: "txt" text boxes, "chk"
// check boxes, "cmd"/"btn" buttons.
class DemoForm : public QWidget {
 public:
  explicit DemoForm(std::shared_ptr<Services> services) : dolva_(std::move(services)) {
    setObjectName("frmDemo");
    setWindowTitle("Velmora - formulario de prueba");
    resize(820, kFullHeight);

    Caption("Nombre", 20, 20);
    nombre_ = Line("txtNombre", 20, 40);
    Caption("Domicilio", 20, 75);
    Line("txtDomicilio", 20, 95);
    Caption("Ciudad", 20, 130);
    Line("txtCiudad", 20, 150);
    Caption("Fecha (dd/mm/aaaa)", 20, 185);
    fecha_ = Line("txtFecha", 20, 205, 130);
    fecha_->setInputMask("99/99/9999; ");
    Caption("Fecha corregida", 170, 185);
    auto* copia = Line("txtFechaCorregida", 170, 205, 130);
    copia->setReadOnly(true);
    Check("chkActivo", "Activo", 20, 245);
    Check("chkCredito", "Con crédito", 120, 245);

    Button("cmdLlenar", "Llenar", 0, &DemoForm::Fill);
    Button("cmdLimpiar", "Limpiar", 1, &DemoForm::Clear);
    Button("cmdDeshabilitar", "Deshabilitar textos", 2, &DemoForm::DisableTexts);
    Button("cmdHabilitar", "Habilitar textos", 3, &DemoForm::EnableTexts);
    Button("cmdValidar", "Validar fecha", 4, &DemoForm::ValidateDate);
    Button("btnCrecer", "Crecer", 5, &DemoForm::Grow);
    Button("btnEncoger", "Encoger", 6, &DemoForm::Shrink);
    botones_ = Check("chkBotones", "Botones activos", 360, 290);
    botones_->setChecked(true);
    connect(botones_, &QCheckBox::toggled, this, &DemoForm::SwitchButtons);

    Caption("Derechos del usuario", 20, 320);
    derechos_ = Line("edtDerechos", 20, 340, 130);
    derechos_->setText("0011");
    Caption("Derecho núm.", 170, 320);
    posicion_ = new QSpinBox(this);
    posicion_->setObjectName("spnDerecho");
    posicion_->setGeometry(170, 340, 70, 26);
    posicion_->setRange(0, 255);
    posicion_->setValue(3);
    Caption("Módulo", 260, 320);
    modulo_ = Line("edtModulo", 260, 340, 150);
    modulo_->setText("Ventas");
    Button("cmdDerecho", "Revisar derecho", 7, &DemoForm::CheckRight);

    estado_ = new QLabel(this);
    estado_->setObjectName("lblEstado");
    estado_->setGeometry(20, 395, 560, 30);
    estado_->setFrameShape(QFrame::StyledPanel);

    AddPhotoBox();

    form_ = std::make_shared<qt::QtForm>(this);
    form_->AddNamedChildren();
  }

  void Fill() {
    nombre_->setText("Ana Luz Pérez");
    findChild<QLineEdit*>("txtDomicilio")->setText("Av. Juárez 100");
    findChild<QLineEdit*>("txtCiudad")->setText("Guadalajara");
    fecha_->setText("31/02/2009");
    Run("ObjetosValor(\"chk\", 1)", [&] {
      std::u16string prefix = u"chk";
      Variant checked(std::int16_t{1});
      dolva_.ObjetosValor(prefix, checked, form_);
    });
  }

  void Clear() {
    Run("Limpia_Textos(\"txt\")", [&] {
      dolva_.Limpia_Textos(u"txt", form_);
      std::u16string prefix = u"chk";
      Variant unchecked(std::int16_t{0});
      dolva_.ObjetosValor(prefix, unchecked, form_);
    });
  }

  void DisableTexts() { SetTexts(false); }
  void EnableTexts() { SetTexts(true); }

  void ValidateDate() {
    std::u16string typed = ToText(fecha_->displayText());
    std::u16string prefix = u"txtFecha";
    ObjectRef form = form_;
    bool rejected = false;
    if (Run("FechaValida", [&] { rejected = dolva_.FechaValida(typed, prefix, form); })) {
      estado_->setText(rejected ? "FechaValida: fecha rechazada"
                                : "FechaValida: fecha aceptada, escrita en " + FromText(prefix));
    }
  }

  // The user's photo: shown from the photo folder, cleared, or taken in the capture window and
  // stored in the photo folder, where "Mostrar foto" then finds it.
  void ShowPhoto() {
    std::u16string name = ToText(foto_->text());
    Run("Fotografia", [&] { dolva_.Fotografia(name, form_); });
  }
  void ClearPhoto() {
    Run("NOFoto", [&] { dolva_.NOFoto(form_); });
  }
  void TakePhoto() {
    std::u16string name = ToText(foto_->text());
    std::u16string folder = u"/Ponderix/Fotos";
    std::u16string path;
    if (Run("PhotoWay", [&] { path = dolva_.PhotoWay(name, folder); })) {
      estado_->setText("PhotoWay: " + (path.empty() ? QString("sin fotografía") : FromText(path)));
    }
  }

  void Grow() { Animate(true); }
  void Shrink() { Animate(false); }

  void SwitchButtons(bool on) {
    Run(on ? "Botones(True)" : "Botones(False)", [&] { dolva_.Botones(on, form_); });
  }

  void CheckRight() {
    const auto n = static_cast<std::uint8_t>(posicion_->value());
    const std::u16string rights = ToText(derechos_->text());
    std::u16string module = ToText(modulo_->text());
    bool warn = true;
    bool granted = false;
    if (Run("Derecho", [&] { granted = dolva_.Derecho(n, rights, warn, module); })) {
      estado_->setText(QString("Derecho %1: %2").arg(n).arg(granted ? "concedido" : "negado"));
    }
  }

 private:
  using Slot = void (DemoForm::*)();

  QLabel* Caption(const char* text, int x, int y) {
    auto* l = new QLabel(text, this);
    l->setGeometry(x, y, 150, 20);
    return l;
  }
  QLineEdit* Line(const char* name, int x, int y, int width = 280) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setGeometry(x, y, width, 26);
    return e;
  }
  QCheckBox* Check(const char* name, const char* text, int x, int y) {
    auto* c = new QCheckBox(text, this);
    c->setObjectName(name);
    c->setGeometry(x, y, 200, 24);
    return c;
  }
  void Button(const char* name, const char* text, int row, Slot slot) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    // The rights button sits with the rights test, the others in a column at the right.
    if (row == 7) b->setGeometry(430, 338, 150, 30);
    else b->setGeometry(360, 20 + row * 37, 220, 30);
    connect(b, &QPushButton::clicked, this, slot);
  }

  void AddPhotoBox() {
    Caption("Fotografía", 610, 20);
    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setGeometry(610, 40, 190, 190);
    image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Caption("Nombre de la foto", 610, 238);
    foto_ = Line("edtFoto", 610, 258, 190);
    foto_->setText("ANA");
    for (const auto& [name, text, y, slot] :
         {std::tuple{"cmdFotografia", "Mostrar foto", 295, &DemoForm::ShowPhoto},
          std::tuple{"cmdNOFoto", "Quitar foto", 332, &DemoForm::ClearPhoto},
          std::tuple{"cmdPhotoWay", "Tomar foto ...", 369, &DemoForm::TakePhoto}}) {
      auto* b = new QPushButton(text, this);
      b->setObjectName(name);
      b->setGeometry(610, y, 190, 30);
      connect(b, &QPushButton::clicked, this, slot);
    }
  }

  void SetTexts(bool on) {
    Run(on ? "Objetos(\"txt\", True)" : "Objetos(\"txt\", False)", [&] {
      std::u16string prefix = u"txt";
      dolva_.Objetos(prefix, on, form_);
    });
  }

  void Animate(bool grow) {
    Run(grow ? "Efx crecer" : "Efx encoger", [&] {
      std::int16_t low = kShortHeight, high = kFullHeight;
      dolva_.Efx(low, high, grow, form_);
    });
  }

  // Runs a routine and reports it on the status line; false when it raised an error.
  template <typename F>
  bool Run(const QString& what, F&& routine) {
    try {
      routine();
      estado_->setText(what + ": hecho");
      return true;
    } catch (const Error& e) {
      estado_->setText(
          QString("%1: error %2, %3").arg(what).arg(e.number()).arg(FromText(e.description(true))));
      return false;
    }
  }

  Dolva dolva_;
  std::shared_ptr<qt::QtForm> form_;
  QLineEdit* nombre_ = nullptr;
  QLineEdit* fecha_ = nullptr;
  QLineEdit* derechos_ = nullptr;
  QLineEdit* modulo_ = nullptr;
  QLineEdit* foto_ = nullptr;
  QSpinBox* posicion_ = nullptr;
  QCheckBox* botones_ = nullptr;
  QLabel* estado_ = nullptr;
};

}  // namespace velmora::demo

int main(int argc, char** argv) {
  // Qt aborts the process when its platform cannot start: say what is missing instead.
  const std::string platform = velmora::linux_platform::DisplayPlatform();
  if (platform.empty()) {
    std::fputs("no display: set DISPLAY or QT_QPA_PLATFORM=offscreen\n", stderr);
    return 2;
  }
  // Start on the platform that was found to answer.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", platform.c_str());
  QApplication app(argc, argv);
  // The services every Linux process gets; the windows come from this program's own copy of
  // the Qt views.
  auto services = velmora::linux_platform::LinuxServices("es_MX");
  services->events = std::make_shared<velmora::demo::VisiblePump>();
  if (QApplication::arguments().contains("--test-pattern")) {
    services->camera =
        std::make_shared<velmora::qt::QtCamera>(velmora::qt::QtCamera::Source::kTestPattern);
  }
  velmora::demo::DemoForm form(services);
  form.show();

  const QStringList args = QApplication::arguments();
  const qsizetype shot = args.indexOf("--screenshot");
  if (shot > 0 && shot + 1 < args.size()) {
    const QString& path = args[shot + 1];
    form.Fill();
    form.ValidateDate();
    QTimer::singleShot(500, &form, [&form, path] {
      const bool saved = form.grab().save(path, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return QApplication::exec();
}
