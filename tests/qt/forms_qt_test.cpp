// The form routines on real Qt widgets (offscreen), and the Qt message box.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <memory>
#include <vector>

#include "../test_util.h"
#include "linux/console_dialogs.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_form.h"
#include "qt/qt_picture.h"
#include "qt_services.h"
#include "velmora/dolva.h"
#include "velmora/error.h"

namespace velmora::qt {
namespace {

// Answers every Qt message box that opens by clicking `answer`, recording what it showed.
class BoxAnswerer {
 public:
  struct Seen {
    QString title, text;
    QMessageBox::Icon icon;
    int buttons;
  };

  explicit BoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
    timer_.start(5);
  }
  const std::vector<Seen>& seen() const { return seen_; }

 private:
  void AnswerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    seen_.push_back(
        {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size())});
    if (QAbstractButton* b = box->button(answer_)) b->click();
    else box->reject();
  }

  QMessageBox::StandardButton answer_;
  QTimer timer_;
  std::vector<Seen> seen_;
};

// Each test decides the unattended switch itself.
class QtForms : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv(linux_platform::kUnattendedVariable);
    window_ = std::make_unique<QWidget>();
    window_->setObjectName("frmAlta");
    window_->resize(400, 300);
    form_ = std::make_shared<QtForm>(window_.get());
    auto services = FixedServices(MakeDate({2009, 3, 15}));
    AddQtServices(*services);
    dolva_ = std::make_unique<Dolva>(services);
  }
  void TearDown() override { unsetenv(linux_platform::kUnattendedVariable); }

  template <typename W>
  W* Make(const char* name) {
    auto* w = new W(window_.get());
    w->setObjectName(name);
    return w;
  }
  QLineEdit* Text(const char* name, const char* text = "x") {
    auto* w = Make<QLineEdit>(name);
    w->setText(text);
    return w;
  }
  // No widget of the form carries a property the library created.
  void ExpectNoDynamicProperties() {
    EXPECT_TRUE(window_->dynamicPropertyNames().isEmpty());
    for (QObject* o : window_->findChildren<QObject*>())
      EXPECT_TRUE(o->dynamicPropertyNames().isEmpty()) << o->objectName().toStdString();
  }

  std::unique_ptr<QWidget> window_;
  std::shared_ptr<QtForm> form_;
  std::unique_ptr<Dolva> dolva_;
};

TEST_F(QtForms, NamedChildrenInCreationOrder) {
  Text("txtNombre");
  Make<QSpinBox>("spnEdad");  // holds an inner line edit named "qt_spinbox_lineedit"
  auto* later = Make<QPushButton>("cmdSalir");
  Make<QLabel>("");
  form_->AddNamedChildren();
  later->lower();  // Qt's own child order follows the stacking order; the form's does not
  form_->AddNamedChildren();
  std::vector<std::u16string> names;
  for (const auto& c : form_->Controls()) names.push_back(AsHostObject(c).Get(u"Name").text());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"txtNombre", u"spnEdad", u"cmdSalir"}));
  EXPECT_EQ(ErrorOf([&] { AsHostObject(form_->Controls()[0]).Controls(); }), err::kNoMember);
}

TEST_F(QtForms, WalksSelectByName) {
  auto* nombre = Text("txtNombre");
  auto* nomina = Text("TXTNOMINA");
  auto* domicilio = Text("txtDomicilio");
  auto* salir = Make<QPushButton>("cmdSalir");
  auto* ok = Make<QPushButton>("BtnOk");
  auto* activo = Make<QCheckBox>("chkActivo");
  auto* si = Make<QRadioButton>("optSi");
  form_->AddNamedChildren();

  bool off = false;
  dolva_->Botones(off, form_);
  EXPECT_EQ(std::vector<bool>({salir->isEnabled(), ok->isEnabled(), nombre->isEnabled()}),
            std::vector<bool>({false, false, true}));
  std::u16string txt = u"TxT";
  dolva_->Objetos(txt, off, form_);
  EXPECT_FALSE(nomina->isEnabled());
  EXPECT_TRUE(activo->isEnabled());

  dolva_->Limpia_Textos(u"txtNom", form_);
  EXPECT_EQ(nombre->text(), "");
  EXPECT_EQ(nomina->text(), "");
  EXPECT_EQ(domicilio->text(), "x");

  std::u16string chk = u"chk", opt = u"opt";
  Variant grey(std::int16_t{2}), yes(true);
  dolva_->ObjetosValor(chk, grey, form_);
  dolva_->ObjetosValor(opt, yes, form_);
  EXPECT_EQ(activo->checkState(), Qt::PartiallyChecked);
  EXPECT_TRUE(si->isChecked());
  Variant bad(std::int16_t{3});
  EXPECT_EQ(ErrorOf([&] { dolva_->ObjetosValor(chk, bad, form_); }), err::kTypeMismatch);
  EXPECT_EQ(activo->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(dolva_->Control, form_->Controls()[5]);
  ExpectNoDynamicProperties();
}

TEST_F(QtForms, LabelWithoutTextStopsTheWalk) {
  auto* a = Text("txtA");
  auto* label = Make<QLabel>("txtB");
  auto* button = Make<QPushButton>("txtC");  // Qt has "text" on a button; the form has Caption
  auto* c = Text("txtD");
  label->setText("b");
  button->setText("c");
  form_->AddNamedChildren();
  EXPECT_EQ(ErrorOf([&] { dolva_->Limpia_Textos(u"TXT", form_); }), err::kNoMember);
  EXPECT_EQ(a->text(), "");
  EXPECT_EQ(label->text(), "b");
  EXPECT_EQ(c->text(), "x");
  EXPECT_EQ(dolva_->Control, form_->Controls()[1]);
  HostObject& btn = AsHostObject(form_->Controls()[2]);
  EXPECT_EQ(ErrorOf([&] { btn.Set(u"Text", Variant(u"")); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { btn.Get(u"Text"); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { btn.Set(u"Nada", Variant(u"")); }), err::kNoMember);
  EXPECT_EQ(button->text(), "c");
  btn.Set(u"Caption", Variant(u"Salir"));
  EXPECT_EQ(button->text(), "Salir");
  ExpectNoDynamicProperties();
}

TEST_F(QtForms, EfxResizesTheFormStepByStep) {
  struct RecordingPump : EventPump {
    QWidget* w = nullptr;
    std::vector<int> heights;
    void ProcessPending() override {
      QCoreApplication::processEvents();
      heights.push_back(w->height());
    }
  };
  auto pump = std::make_shared<RecordingPump>();
  pump->w = window_.get();
  auto services = FixedServices(MakeDate({2009, 3, 15}));
  services->events = pump;
  Dolva d(services);
  std::int16_t min = 200, max = 212;
  d.Efx(min, max, true, form_);
  d.Efx(min, max, false, form_);
  EXPECT_EQ(pump->heights, (std::vector<int>{200, 205, 210, 212, 207, 202}));
  EXPECT_EQ(form_->Get(u"Height"), Variant(std::int16_t{202}));
  EXPECT_EQ(window_->width(), 400);
}

TEST_F(QtForms, FormAndImageProperties) {
  auto* foto = Make<QLabel>("imgFoto");
  form_->AddNamedChildren();
  form_->Set(u"Caption", Variant(u"Alta de empleados"));
  EXPECT_EQ(window_->windowTitle(), "Alta de empleados");
  EXPECT_EQ(ErrorOf([&] { form_->Set(u"Text", Variant(u"")); }), err::kNoMember);

  HostObject& img = AsHostObject(form_->Controls()[0]);
  QImage image(8, 6, QImage::Format_RGB32);
  image.fill(Qt::red);
  ObjectRef picture = std::make_shared<QtPicture>(image);
  img.Set(u"Picture", Variant(picture));
  img.Set(u"Stretch", Variant(true));
  EXPECT_EQ(foto->pixmap().size(), QSize(8, 6));
  EXPECT_TRUE(foto->hasScaledContents());
  EXPECT_EQ(img.Get(u"Picture"), Variant(picture));
  struct NotAPicture : Object {};
  EXPECT_EQ(
      ErrorOf([&] { img.Set(u"Picture", Variant(ObjectRef(std::make_shared<NotAPicture>()))); }),
      err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { img.Set(u"Picture", Variant(u"foto.jpg")); }), err::kTypeMismatch);
  EXPECT_EQ(foto->pixmap().size(), QSize(8, 6));
  img.Set(u"Picture", Variant());
  EXPECT_TRUE(foto->pixmap().isNull());
  img.Set(u"Height", Variant(u"40"));
  EXPECT_EQ(foto->height(), 40);
  ExpectNoDynamicProperties();
}

TEST_F(QtForms, FechaValidaWritesAndWarns) {
  auto* fecha = Text("txtFecha");
  auto* nacimiento = Text("TxtFechaNac");
  auto* nombre = Text("txtNombre");
  form_->AddNamedChildren();
  ObjectRef forma = form_;
  std::u16string fec = u"31/02/2009", cont = u" txtfecha ";
  EXPECT_FALSE(dolva_->FechaValida(fec, cont, forma));
  EXPECT_EQ(fecha->text(), "28/02/2009");
  EXPECT_EQ(nacimiento->text(), "28/02/2009");
  EXPECT_EQ(nombre->text(), "x");

  BoxAnswerer answerer(QMessageBox::Ok);
  fec = u"15/13/2009";
  EXPECT_TRUE(dolva_->FechaValida(fec, cont, forma));
  ASSERT_EQ(answerer.seen().size(), 1u);
  const auto& box = answerer.seen()[0];
  EXPECT_EQ(box.title, "ERROR en la Fecha");
  EXPECT_EQ(box.icon, QMessageBox::Information);
  EXPECT_EQ(box.buttons, 1);
  EXPECT_EQ(box.text,
            "Atención Sr. Usuario:\n\n\nUd. capturó incorrectamente está fecha: 15/13/2009\n\n\n"
            "El rango de Meses es del: 1 al 12, Ud. capturó: 13\n\n"
            "Favor de Verificar y Corregir, Gracias...\n\n");
  EXPECT_EQ(fecha->text(), "28/02/2009");

  fec = u"15/  /2009";
  EXPECT_EQ(ErrorOf([&] { dolva_->FechaValida(fec, cont, forma); }), err::kTypeMismatch);
  EXPECT_EQ(answerer.seen().size(), 1u);
  ExpectNoDynamicProperties();
}

TEST_F(QtForms, MessageBoxAnswersTheButtonPressed) {
  QtMessageBox box(TestSession(), std::make_shared<linux_platform::ConsoleMessageBox>());
  {
    BoxAnswerer answerer(QMessageBox::No);
    EXPECT_EQ(box.Show(u"¿Borrar?", u"Confirme", MsgIcon::kQuestion, MsgButtons::kYesNo),
              MsgResult::kNo);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Question);
    EXPECT_EQ(answerer.seen()[0].buttons, 2);
  }
  {
    BoxAnswerer answerer(QMessageBox::Retry);
    EXPECT_EQ(box.Show(u"Sin cámara", u"Foto", MsgIcon::kCritical, MsgButtons::kAbortRetryIgnore),
              MsgResult::kRetry);
  }
  {
    BoxAnswerer closer(QMessageBox::NoButton);  // closed without a button: the default
    EXPECT_EQ(box.Show(u"¿Guardar?", u"Foto", MsgIcon::kQuestion, MsgButtons::kYesNoCancel),
              MsgResult::kCancel);
  }
}

TEST_F(QtForms, UnattendedBoxesOpenNoWindow) {
  setenv(linux_platform::kUnattendedVariable, "1", 1);
  BoxAnswerer answerer(QMessageBox::Yes);
  bool mensaje = true;
  std::u16string modulo = u"Ventas";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(dolva_->Derecho(3, u"0011", mensaje, modulo));
  QtMessageBox box(TestSession(), std::make_shared<linux_platform::ConsoleMessageBox>());
  EXPECT_EQ(box.Show(u"¿Borrar?", u"Confirme", MsgIcon::kQuestion, MsgButtons::kYesNo),
            MsgResult::kNo);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(answerer.seen().empty());
  EXPECT_NE(err.find("== USUARIO SIN DERECHO DE ACCESO (alto) ==\nAtención Usuario:\n\n"
                     "Usted NO tiene Derecho para Accesar:\nVentas\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("(desatendido, se elige: No)"), std::string::npos) << err;
}

}  // namespace
}  // namespace velmora::qt
