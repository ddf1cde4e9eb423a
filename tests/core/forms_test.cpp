#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "../test_util.h"
#include "fake_dialogs.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/forms.h"

namespace velmora {
namespace {

// A Dolva with a scripted message box and a counting event pump.
struct Fixture {
  std::shared_ptr<fakes::ScriptedMessageBox> box = std::make_shared<fakes::ScriptedMessageBox>();
  std::shared_ptr<fakes::CountingEventPump> pump = std::make_shared<fakes::CountingEventPump>();
  Dolva dolva{[&] {
    auto s = FixedServices(MakeDate({2009, 3, 15}));
    s->message_box = box;
    s->events = pump;
    return s;
  }()};
};

// One argument of a call by name, positional unless named.
Argument Arg(Variant value, std::u16string name = {}) {
  Argument a;
  a.name = std::move(name);
  a.value = std::move(value);
  return a;
}

std::u16string TextOf(MemoryForm& form, std::u16string_view name) {
  return form.Find(name)->Get(u"Text").text();
}

// ---- The in-memory form ---------------------------------------------------------------------

TEST(MemoryForm, PropertiesAreFixedAtCreation) {
  MemoryForm form;
  auto label = form.AddLabel(u"lblTitulo", u"Hola");
  EXPECT_EQ(ErrorOf([&] { label->Get(u"Text"); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { label->Set(u"Text", Variant(u"x")); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { label->Get(u"Text"); }), err::kNoMember);  // not added by the write
  EXPECT_EQ(ErrorOf([&] { label->Controls(); }), err::kNoMember);
  EXPECT_EQ(label->Get(u"caption"), Variant(u"Hola"));
  EXPECT_EQ(label->Get(u"NAME"), Variant(u"lblTitulo"));
}

TEST(MemoryForm, WritesKeepThePropertyKindOrTheOldValue) {
  MemoryForm form;
  auto txt = form.AddTextBox(u"txtEdad");
  auto chk = form.AddCheckBox(u"chkActivo");
  txt->Set(u"Text", Variant(std::int16_t{42}));
  EXPECT_EQ(txt->Get(u"Text"), Variant(u"42"));
  txt->Set(u"Enabled", Variant(u"Falso"));
  EXPECT_EQ(txt->Get(u"Enabled"), Variant(false));
  EXPECT_EQ(ErrorOf([&] { txt->Set(u"Enabled", Variant(u"quizá")); }), err::kTypeMismatch);
  EXPECT_EQ(txt->Get(u"Enabled"), Variant(false));
  EXPECT_EQ(ErrorOf([&] { chk->Set(u"Value", Variant(u"40000")); }), err::kOverflow);
  EXPECT_EQ(chk->Get(u"Value"), Variant(std::int16_t{0}));
  form.Set(u"Height", Variant(1200.0));
  EXPECT_EQ(form.Get(u"Height"), Variant(std::int16_t{1200}));
}

// ---- Efx -------------------------------------------------------------------------------------

TEST(Efx, HeightSequences) {
  struct Case {
    std::int16_t min, max;
    bool grow;
    std::vector<int> heights;
    int error;
  } cases[] = {
      {1000, 1012, true, {1000, 1005, 1010}, 0},
      {1000, 1012, false, {1012, 1007, 1002}, 0},
      {1000, 1010, true, {1000, 1005, 1010}, 0},
      {1000, 1000, false, {1000}, 0},
      {1012, 1000, true, {}, 0},
      {1012, 1000, false, {}, 0},
      {32760, 32767, true, {32760, 32765}, err::kOverflow},
      {32767, 32767, true, {32767}, err::kOverflow},
      {-32768, -32760, false, {-32760, -32765}, err::kOverflow},
      {-32768, -32763, true, {-32768, -32763}, 0},
  };
  for (const auto& c : cases) {
    Fixture f;
    auto form = std::make_shared<MemoryForm>();
    // Each pump sees the height just set: events run after every step, not once at the end.
    std::vector<int> seen;
    f.pump->on_pump = [&] { seen.push_back(form->Get(u"Height").integer()); };
    std::int16_t min = c.min, max = c.max;
    EXPECT_EQ(ErrorOf([&] { f.dolva.Efx(min, max, c.grow, form); }), c.error) << c.min;
    EXPECT_EQ(seen, c.heights) << c.min << " " << c.max << " " << c.grow;
  }
}

TEST(Efx, BadForms) {
  Fixture f;
  auto no_height = std::make_shared<MemoryForm>(u"frm", PropertyList{{u"Caption", Variant(u"")}});
  std::int16_t min = 10, max = 20;
  EXPECT_EQ(ErrorOf([&] { f.dolva.Efx(min, max, true, no_height); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { f.dolva.Efx(min, max, true, nullptr); }), err::kObjectRequired);
  std::vector<Argument> args{Arg(Variant(std::int16_t{1})), Arg(Variant(std::int16_t{9})),
                             Arg(Variant(true)), Arg(Variant(u"frmAlta"))};
  EXPECT_EQ(ErrorOf([&] { Invoke(f.dolva, u"Efx", args); }), err::kObjectRequired);
}

// ---- The control walks -----------------------------------------------------------------------

enum class Walk { kBotones, kObjetos, kObjetosValor, kLimpia };

// Runs a walk on a form of text boxes with the given names and returns the names it changed.
std::set<std::u16string> Changed(Walk walk, std::u16string arg,
                                 const std::vector<std::u16string>& names) {
  Fixture f;
  auto form = std::make_shared<MemoryForm>();
  for (const auto& n : names)
    form->Add(n, {{u"Text", Variant(u"x")}, {u"Enabled", Variant(true)}, {u"Value", Variant()}});
  bool off = false;
  Variant value(std::int16_t{1});
  switch (walk) {
    case Walk::kBotones: f.dolva.Botones(off, form); break;
    case Walk::kObjetos: f.dolva.Objetos(arg, off, form); break;
    case Walk::kObjetosValor: f.dolva.ObjetosValor(arg, value, form); break;
    case Walk::kLimpia: f.dolva.Limpia_Textos(arg, form); break;
  }
  std::set<std::u16string> changed;
  for (const auto& n : names) {
    auto c = form->Find(n);
    if (c->Get(u"Text") != Variant(u"x") || c->Get(u"Enabled") != Variant(true) ||
        !c->Get(u"Value").IsEmpty())
      changed.insert(n);
  }
  EXPECT_EQ(f.dolva.Control, nullptr);  // a completed walk leaves the cursor empty
  return changed;
}

TEST(Walks, SelectByNamePrefix) {
  using S = std::set<std::u16string>;
  const std::vector<std::u16string> buttons = {u"cmdSalir", u"BtnOk", u"txtNombre",
                                               u"CmdX",     u"cm",    u"btx"};
  const std::vector<std::u16string> fields = {u"txtNombre", u"TXTNOMINA", u"txtDomicilio",
                                              u"lblNombre", u"tx"};
  EXPECT_EQ(Changed(Walk::kBotones, {}, buttons), (S{u"cmdSalir", u"BtnOk", u"CmdX"}));
  EXPECT_EQ(Changed(Walk::kObjetos, u"txt", fields),
            (S{u"txtNombre", u"TXTNOMINA", u"txtDomicilio"}));
  EXPECT_EQ(Changed(Walk::kObjetos, u"TxT", fields),
            (S{u"txtNombre", u"TXTNOMINA", u"txtDomicilio"}));
  EXPECT_EQ(Changed(Walk::kObjetos, u"txtNom", fields), S{});
  EXPECT_EQ(Changed(Walk::kObjetos, u"tx", fields), S{u"tx"});  // a whole short name
  EXPECT_EQ(Changed(Walk::kObjetosValor, u"lbl", fields), S{u"lblNombre"});
  EXPECT_EQ(Changed(Walk::kLimpia, u"txtNom", fields), (S{u"txtNombre", u"TXTNOMINA"}));
  EXPECT_EQ(Changed(Walk::kLimpia, u"", fields), S(fields.begin(), fields.end()));
  EXPECT_EQ(Changed(Walk::kLimpia, u"txtNombreLargo", fields), S{});
}

TEST(Walks, ValueIsPassedUnchanged) {
  Fixture f;
  auto form = std::make_shared<MemoryForm>();
  auto any = form->Add(u"optA", {{u"Value", Variant()}});
  auto chk = form->AddCheckBox(u"optB");
  std::u16string ctrl = u"opt";
  Variant value(Currency::FromScaled(15'000));
  f.dolva.ObjetosValor(ctrl, value, form);
  EXPECT_EQ(any->Get(u"Value"), Variant(Currency::FromScaled(15'000)));
  EXPECT_EQ(chk->Get(u"Value"), Variant(std::int16_t{2}));  // the check box's own kind, rounded
  EXPECT_EQ(value, Variant(Currency::FromScaled(15'000)));
}

TEST(Walks, MissingPropertyStopsTheWalkAndKeepsEarlierChanges) {
  Fixture f;
  auto form = std::make_shared<MemoryForm>();
  form->AddTextBox(u"txtA", u"a");
  auto label = form->AddLabel(u"txtB", u"b");
  form->AddTextBox(u"txtC", u"c");
  EXPECT_EQ(ErrorOf([&] { f.dolva.Limpia_Textos(u"txt", form); }), err::kNoMember);
  EXPECT_EQ(TextOf(*form, u"txtA"), u"");
  EXPECT_EQ(TextOf(*form, u"txtC"), u"c");
  EXPECT_EQ(f.dolva.Control, label);  // the cursor stays on the failing control

  // A command button has "Enabled" but no "Value".
  auto button = form->AddButton(u"cmdOk");
  bool on = false;
  f.dolva.Botones(on, form);
  EXPECT_EQ(button->Get(u"Enabled"), Variant(false));
  std::u16string ctrl = u"cmd";
  Variant v(true);
  EXPECT_EQ(ErrorOf([&] { f.dolva.ObjetosValor(ctrl, v, form); }), err::kNoMember);
  EXPECT_EQ(f.dolva.Control, button);
}

TEST(Walks, BadForms) {
  Fixture f;
  auto control = std::make_shared<MemoryControl>(u"txtA", PropertyList{},
                                                 std::make_shared<LocaleData>(SpanishMexico()));
  struct Plain : Object {};
  EXPECT_EQ(ErrorOf([&] { f.dolva.Limpia_Textos(u"", control); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { f.dolva.Limpia_Textos(u"", std::make_shared<Plain>()); }),
            err::kNoMember);
  for (const char16_t* op : {u"Botones", u"Limpia_Textos"}) {
    std::vector<Argument> args{Arg(Variant(true)), Arg(Variant(std::int16_t{5}))};
    EXPECT_EQ(ErrorOf([&] { Invoke(f.dolva, op, args); }), err::kObjectRequired) << U8(op);
  }
}

// ---- Derecho ---------------------------------------------------------------------------------

TEST(Derecho, RightsAreCountedFromTheEnd) {
  struct Case {
    const char16_t* rights;
    int position;
    int expected;  // 1 granted, 0 not, otherwise the error
  } cases[] = {
      {u"0011", 1, 1}, {u"0011", 2, 1}, {u"0011", 3, 0}, {u"0011", 4, 0}, {u"0011", 0, 0},
      {u"0011", 5, 0}, {u"10", 1, 0},   {u"10", 2, 1},   {u"", 1, 0},     {u"", 0, 0},
      {u"1X1", 1, 1},  {u"1X1", 3, 1},  {u"1X1", 2, 13}, {u"1 1", 2, 13}, {u"121", 2, 0},
      {u"X1", 3, 0},   {u"1-1", 2, 13},
  };
  for (const auto& c : cases) {
    Fixture f;
    bool mensaje = false;
    std::u16string modulo;
    int got = -1;
    const int error = ErrorOf([&] {
      got = f.dolva.Derecho(static_cast<std::uint8_t>(c.position), c.rights, mensaje, modulo);
    });
    EXPECT_EQ(error ? error : got, c.expected) << U8(c.rights) << " " << c.position;
    EXPECT_TRUE(f.box->shown().empty());
  }
}

TEST(Derecho, LongRightsStringOverflows) {
  Fixture f;
  bool mensaje = true;
  std::u16string modulo;
  const std::u16string ok(255, u'1'), too_long(256, u'1');
  EXPECT_TRUE(f.dolva.Derecho(255, ok, mensaje, modulo));
  EXPECT_EQ(ErrorOf([&] { f.dolva.Derecho(1, too_long, mensaje, modulo); }), err::kOverflow);
  EXPECT_TRUE(f.box->shown().empty());
}

TEST(Derecho, WarningBox) {
  struct Case {
    const char16_t* modulo;
    const char16_t* line4;
  } cases[] = {{u"Ventas", u"Ventas"}, {u"", u" este Módulo "}};
  for (const auto& c : cases) {
    Fixture f;
    bool mensaje = true;
    std::u16string modulo = c.modulo;
    EXPECT_FALSE(f.dolva.Derecho(3, u"0011", mensaje, modulo));
    ASSERT_EQ(f.box->shown().size(), 1u);
    const auto& box = f.box->shown()[0];
    EXPECT_EQ(U8(box.text),
              U8(u"Atención Usuario:\r\n\r\nUsted NO tiene Derecho para Accesar:\r\n" +
                 std::u16string(c.line4) + u"\r\nFavor de Verificar, Gracias ...\r\n"));
    EXPECT_EQ(box.title, u"USUARIO SIN DERECHO DE ACCESO");
    EXPECT_EQ(box.icon, MsgIcon::kCritical);
    EXPECT_EQ(box.buttons, MsgButtons::kOk);
  }
  Fixture f;
  // By name, Modulo left out: the default wording; Mensaje left out: no box at all.
  std::vector<Argument> args{Arg(Variant(std::int16_t{9})), Arg(Variant(u"1")),
                             Arg(Variant(true), u"Mensaje")};
  EXPECT_EQ(Invoke(f.dolva, u"Derecho", args), Variant(false));
  std::vector<Argument> quiet{Arg(Variant(std::int16_t{9})), Arg(Variant(u"1"))};
  EXPECT_EQ(Invoke(f.dolva, u"Derecho", quiet), Variant(false));
  ASSERT_EQ(f.box->shown().size(), 1u);
  EXPECT_NE(f.box->shown()[0].text.find(u"\r\n este Módulo \r\n"), std::u16string::npos);
}

TEST(Derecho, NoMessageBoxServiceIsAnError) {
  Dolva d(FixedServices(MakeDate({2009, 3, 15})));
  bool mensaje = true;
  std::u16string modulo;
  EXPECT_EQ(ErrorOf([&] { d.Derecho(1, u"0", mensaje, modulo); }), err::kInvalidCall);
  EXPECT_TRUE(d.Derecho(1, u"1", mensaje, modulo));
}

// ---- FechaValida -----------------------------------------------------------------------------

// A date form: two boxes of the "txtFecha" family and one other.
std::shared_ptr<MemoryForm> DateForm() {
  auto form = std::make_shared<MemoryForm>(u"frmAlta");
  form->AddTextBox(u"txtFecha", u"old");
  form->AddTextBox(u"txtNombre", u"old");
  form->AddTextBox(u"TxtFechaNac", u"old");
  return form;
}

TEST(FechaValida, AcceptedDatesAreNormalisedIntoMatchingControls) {
  struct Case {
    const char16_t* typed;
    const char16_t* written;
  } cases[] = {
      {u"15/03/2009", u"15/03/2009"}, {u"31/02/2009", u"28/02/2009"},
      {u"30/02/2008", u"29/02/2008"}, {u"01/01/1930", u"01/01/1930"},
      {u"31/12/2029", u"31/12/2029"}, {u" 5/ 3/2009", u"05/03/2009"},
      {u"99/04/2010", u"30/04/2010"}, {u"31/11/1999", u"30/11/1999"},
  };
  for (const auto& c : cases) {
    Fixture f;
    auto form = DateForm();
    std::u16string fec = c.typed, cont = u" txtfecha ";
    ObjectRef forma = form;
    EXPECT_FALSE(f.dolva.FechaValida(fec, cont, forma)) << U8(c.typed);
    EXPECT_EQ(cont, u"TXTFECHA");
    EXPECT_EQ(fec, c.typed);
    EXPECT_EQ(TextOf(*form, u"txtFecha"), c.written) << U8(c.typed);
    EXPECT_EQ(TextOf(*form, u"TxtFechaNac"), c.written);
    EXPECT_EQ(TextOf(*form, u"txtNombre"), u"old");
    EXPECT_TRUE(f.box->shown().empty());
    EXPECT_EQ(f.dolva.Control, nullptr);
  }
}

TEST(FechaValida, RejectedDatesExplainWhy) {
  const std::u16string head =
      u"Atención Sr. Usuario:\r\n\r\n\r\nUd. capturó incorrectamente está fecha: ";
  const std::u16string tail = u"Favor de Verificar y Corregir, Gracias...\r\n\r\n";
  const std::u16string years = u"El rango de Años es de: 1930 al 2029, Ud. capturó: ";
  const std::u16string months = u"El rango de Meses es del: 1 al 12, Ud. capturó: ";
  struct Case {
    std::u16string typed;
    std::u16string lines;  // the range lines between the date line and the closing line
  } cases[] = {
      {u"00/05/2009", u""},
      {u"15/13/2009", months + u"13\r\n\r\n"},
      {u"15/03/2035", years + u"2035\r\n\r\n"},
      {u"15/03/1929", years + u"1929\r\n\r\n"},
      {u"15/00/2030", years + u"2030\r\n\r\n" + months + u"0\r\n\r\n"},
      {u"  /  /    ", years + u"0\r\n\r\n" + months + u"0\r\n\r\n"},
      {u"-5/03/2009", u""},
  };
  for (const auto& c : cases) {
    Fixture f;
    auto form = DateForm();
    std::u16string fec = c.typed, cont = u"txtFecha";
    ObjectRef forma = form;
    f.dolva.Control = form->Find(u"txtNombre");
    EXPECT_TRUE(f.dolva.FechaValida(fec, cont, forma)) << U8(c.typed);
    ASSERT_EQ(f.box->shown().size(), 1u);
    const auto& box = f.box->shown()[0];
    EXPECT_EQ(U8(box.text), U8(head + c.typed + u"\r\n\r\n\r\n" + c.lines + tail));
    EXPECT_EQ(box.title, u"ERROR en la Fecha");
    EXPECT_EQ(box.icon, MsgIcon::kInformation);
    EXPECT_EQ(box.buttons, MsgButtons::kOk);
    EXPECT_EQ(TextOf(*form, u"txtFecha"), u"old");
    EXPECT_EQ(f.dolva.Control, form->Find(u"txtNombre"));  // no walk on a rejected date
  }
}

TEST(FechaValida, HalfFilledMasksAreTypeMismatchesAfterContIsWritten) {
  for (const char16_t* typed :
       {u"15/  /2009", u"  /03/2009", u"15/03/    ", u"1a/03/2009", u"15/03/20 9", u"", u"15/03"}) {
    Fixture f;
    auto form = DateForm();
    std::vector<Argument> args{Arg(Variant(typed)), Arg(Variant(u" txtfecha ")),
                               Arg(Variant(ObjectRef(form)))};
    EXPECT_EQ(ErrorOf([&] { Invoke(f.dolva, u"FechaValida", args); }), err::kTypeMismatch)
        << U8(typed);
    EXPECT_TRUE(args[1].written);
    EXPECT_EQ(args[1].value, Variant(u"TXTFECHA"));
    EXPECT_FALSE(args[0].written);
    EXPECT_TRUE(f.box->shown().empty());
    EXPECT_EQ(TextOf(*form, u"txtFecha"), u"old");
  }
}

TEST(FechaValida, PrefixesAndMissingText) {
  Fixture f;
  auto form = DateForm();
  std::u16string fec = u"07/07/2007", cont;
  ObjectRef forma = form;
  EXPECT_FALSE(f.dolva.FechaValida(fec, cont, forma));  // the empty prefix matches all
  EXPECT_EQ(TextOf(*form, u"txtNombre"), u"07/07/2007");

  auto label = form->AddLabel(u"txtFechaEtiqueta");
  form->AddTextBox(u"txtFechaFin", u"old");
  fec = u"08/08/2008";
  cont = u"TXTFECHA";
  EXPECT_EQ(ErrorOf([&] { f.dolva.FechaValida(fec, cont, forma); }), err::kNoMember);
  EXPECT_EQ(TextOf(*form, u"TxtFechaNac"), u"08/08/2008");
  EXPECT_EQ(TextOf(*form, u"txtFechaFin"), u"old");
  EXPECT_EQ(f.dolva.Control, label);

  ObjectRef nothing;
  EXPECT_EQ(ErrorOf([&] { f.dolva.FechaValida(fec, cont, nothing); }), err::kObjectRequired);
}

}  // namespace
}  // namespace velmora
