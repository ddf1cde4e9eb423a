#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <span>

#include "../test_util.h"
#include "fake_sysinfo.h"
#include "velmora/coerce.h"
#include "velmora/dispatch.h"
#include "velmora/error.h"
#include "velmora/forms.h"
#include "velmora/utf.h"

namespace velmora {
namespace {

const LocaleData kEs = SpanishMexico();

TEST(Coerce, TextToIntegerRoundsHalvesToEven) {
  struct Case {
    const char16_t* text;
    int expected;
  } cases[] = {{u"2.5", 2},    {u"3.5", 4},     {u"-2.5", -2},  {u" 42 ", 42},    {u"1,234", 1234},
               {u"&HFF", 255}, {u"&HFFFF", -1}, {u"1E3", 1000}, {u"32767", 32767}};
  for (const auto& c : cases) EXPECT_EQ(ToInteger(Variant(c.text), kEs), c.expected) << U8(c.text);
}

TEST(Coerce, ConversionErrors) {
  struct Case {
    Variant v;
    int expected;
  } cases[] = {
      {Variant(u"abc"), err::kTypeMismatch}, {Variant(u""), err::kTypeMismatch},
      {Variant(u"32768"), err::kOverflow},   {Variant(-32768.5), 0},
      {Variant(-32769.0), err::kOverflow},   {Variant::Null(), err::kInvalidNull},
      {Variant(u"1e400"), err::kOverflow},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { ToInteger(c.v, kEs); }), c.expected);
}

TEST(Coerce, TextToBoolean) {
  EXPECT_TRUE(ToBoolean(Variant(u"True"), kEs));
  EXPECT_TRUE(ToBoolean(Variant(u"verdadero"), kEs));
  EXPECT_FALSE(ToBoolean(Variant(u"FALSO"), kEs));
  EXPECT_FALSE(ToBoolean(Variant(u"0"), kEs));
  EXPECT_TRUE(ToBoolean(Variant(u"-1"), kEs));
  EXPECT_EQ(ErrorOf([] { ToBoolean(Variant(u"quizá"), kEs); }), err::kTypeMismatch);
}

TEST(Coerce, CurrencyFromTextIsExact) {
  struct Case {
    const char16_t* text;
    std::int64_t scaled;
  } cases[] = {{u"1234.5", 12'345'000}, {u"0.00005", 0},
               {u"0.00015", 2},         {u"0.000151", 2},
               {u"-1.23456", -12'346},  {u"922337203685477.5807", INT64_MAX},
               {u"0.05", 500}};
  for (const auto& c : cases) EXPECT_EQ(ToCurrency(Variant(c.text), kEs).scaled(), c.scaled);
  EXPECT_EQ(ErrorOf([] { ToCurrency(Variant(u"922337203685478"), kEs); }), err::kOverflow);
}

TEST(Coerce, TextForms) {
  EXPECT_EQ(DecimalRewrite(11), u" 11");
  EXPECT_EQ(DecimalRewrite(1e15), u" 1E+15");
  EXPECT_EQ(DecimalRewrite(111111111111111111.0), u" 1.11111111111111E+17");
  EXPECT_EQ(DecimalRewrite(-5), u"-5");
  EXPECT_EQ(FormatCurrency(Currency::FromScaled(12'345'000), kEs), u"1234.5");
  EXPECT_EQ(FormatCurrency(Currency::FromScaled(INT64_MIN), kEs), u"-922337203685477.5808");
  EXPECT_EQ(UpperCase(u"dieciséis ß ñ"), u"DIECISÉIS ß Ñ");
}

// UTF-8 at the edges: every length of sequence both ways, and broken text made U+FFFD.
TEST(Utf8, EncodesAndDecodesEveryLength) {
  struct Case {
    std::u16string utf16;
    std::string utf8;
  } cases[] = {
      {u"", ""},
      {u"Peso", "Peso"},
      {u"D\u00F3lar \u20AC", "D\xC3\xB3lar \xE2\x82\xAC"},
      {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {u"a\U0001F600b",
       "a\xF0\x9F\x98\x80"
       "b"},
      {std::u16string(3000, u'\u00D1'),
       [] {
         std::string s;
         for (int i = 0; i < 3000; ++i) s += "\xC3\x91";
         return s;
       }()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(c.utf16), c.utf8);
    EXPECT_EQ(FromUtf8(c.utf8), c.utf16);
  }
  // A lone surrogate is no character: it is written as U+FFFD, and so are broken bytes read.
  EXPECT_EQ(ToUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(std::u16string{u'\xDC00', u'\xD800', u'z'}), "\xEF\xBF\xBD\xEF\xBF\xBDz");
  EXPECT_EQ(FromUtf8("\xC3"), u"\uFFFD");
  EXPECT_EQ(FromUtf8("\xE0\x80\x80x"), u"\uFFFD\uFFFD\uFFFDx");  // an overlong form
}

TEST(Dates, ReaderFollowsLocaleOrder) {
  const LocaleData en = EnglishUnitedStates();
  EXPECT_EQ(ParseDate(u"15/03/2009", kEs), MakeDate({2009, 3, 15}));
  EXPECT_EQ(ParseDate(u"03/15/2009", en), MakeDate({2009, 3, 15}));
  EXPECT_EQ(ParseDate(u"2009-03-15", en), MakeDate({2009, 3, 15}));
  EXPECT_EQ(ParseDate(u"1.2.29", kEs), MakeDate({2029, 2, 1}));
  EXPECT_EQ(ParseDate(u"1-2-30", kEs), MakeDate({1930, 2, 1}));
  EXPECT_EQ(ParseDate(u"15/03/2009 05:30 p. m.", kEs), MakeDate({2009, 3, 15}, {17, 30, 0}));
  EXPECT_EQ(ParseDate(u"12:00 AM", en), MakeDate({1899, 12, 30}, {0, 0, 0}));
  for (const char16_t* bad : {u"31/02/2009", u"15/13/2009", u"abc", u"", u"  /  /    ",
                              u"15/03/209", u"25:00", u"15/03"}) {
    EXPECT_FALSE(ParseDate(bad, kEs).has_value()) << U8(bad);
  }
}

TEST(Dates, SerialRoundTripsAcrossTheRange) {
  // Consecutive days have consecutive numbers from year 100 to 9999.
  std::int64_t prev = SerialFromCivil({100, 1, 1}) - 1;
  EXPECT_EQ(prev + 1, -657'434);
  for (std::int64_t s = -657'434; s <= 2'958'465; ++s) {
    const CivilDate d = CivilFromDays(s - 25'569);
    ASSERT_EQ(SerialFromCivil(d), prev + 1);
    prev = SerialFromCivil(d);
  }
  EXPECT_EQ(SplitDate(Date{-1.25}).date, (CivilDate{1899, 12, 29}));
  EXPECT_EQ(SplitDate(Date{-1.25}).time, (CivilTime{6, 0, 0}));
  EXPECT_EQ(FormatDateText(MakeDate({2026, 12, 5}), kEs), u"05/12/2026");
  EXPECT_EQ(FormatDateText(MakeDate({1899, 12, 30}, {17, 30, 0}), kEs), u"17:30:00");
}

class DispatchTest : public ::testing::Test {
 protected:
  std::shared_ptr<Services> services_ = FixedServices(MakeDate({2026, 12, 5}, {10, 0, 0}));
};

TEST_F(DispatchTest, FieldsReadBackWhatWasWritten) {
  Dolva d(services_);
  std::vector<Argument> none;
  EXPECT_EQ(Invoke(d, u"name", none), Variant(u""));
  EXPECT_EQ(Invoke(d, u"Si_Password", none), Variant(false));
  EXPECT_EQ(Invoke(d, u"Control", none), Variant(ObjectRef{}));
  PutField(d, u"Name", Variant(u"Ana Luz"));
  PutField(d, u"Es_Supervisor", Variant(u"Verdadero"));
  EXPECT_EQ(Invoke(d, u"NAME", none), Variant(u"Ana Luz"));
  EXPECT_EQ(d.Es_Supervisor, true);
  EXPECT_EQ(ErrorOf([&] { PutField(d, u"Control", Variant(u"x")); }), err::kObjectRequired);
  EXPECT_EQ(ErrorOf([&] { PutField(d, u"DebugID", Variant(3)); }), err::kNoMember);
}

TEST_F(DispatchTest, InstancesAreNumberedPerThread) {
  Dolva first(services_);
  const int base = first.DebugID();
  {
    Dolva second(services_);
    EXPECT_EQ(second.DebugID(), base + 1);
  }
  Dolva third(services_);
  EXPECT_EQ(third.DebugID(), base + 2);
  std::vector<Argument> none;
  EXPECT_EQ(Invoke(third, u"DebugID", none), Variant(std::int32_t{base + 2}));
}

TEST_F(DispatchTest, TableAgreesWithTheRoutinesSignatures) {
  for (const auto& op : Surface()) {
    if (op.binding.fn == nullptr || op.kind == Kind::kPropGet) continue;
    ASSERT_EQ(op.binding.count, op.params.size()) << U8(op.name);
    for (std::size_t i = 0; i < op.params.size(); ++i) {
      EXPECT_EQ(op.binding.types[i], op.params[i].type) << U8(op.name);
      if (op.kind == Kind::kMethod) {
        EXPECT_EQ(op.binding.by_ref[i], op.params[i].by_ref) << U8(op.name);
      }
    }
    if (op.kind == Kind::kMethod) {
      EXPECT_EQ(op.binding.result, op.result) << U8(op.name);
    }
  }
}

TEST_F(DispatchTest, CallingErrors) {
  Dolva d(services_);
  std::vector<Argument> extra(1);
  extra[0].value = Variant(1);
  EXPECT_EQ(ErrorOf([&] { Invoke(d, u"DebugID", extra); }), err::kWrongArgCount);
  std::vector<Argument> none;
  EXPECT_EQ(ErrorOf([&] { Invoke(d, u"NoSuchThing", none); }), err::kNoMember);
}

// Members are what the COM server numbers: each distinct name of an interface, numbered from 1
// in the order it first appears in the slots, with its entry of each kind.
TEST_F(DispatchTest, MembersAreNumberedInSlotOrderAndFoundInAnyCase) {
  for (const Interface iface : {Interface::kDolva, Interface::kAPIs}) {
    std::vector<std::u16string_view> names;  // distinct, in slot order
    for (const Operation* op : OperationsOf(iface)) {
      if (std::find(names.begin(), names.end(), op->name) == names.end()) names.push_back(op->name);
    }
    const auto members = MembersOf(iface);
    ASSERT_EQ(members.size(), names.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
      EXPECT_EQ(members[i].name, names[i]);
      EXPECT_EQ(members[i].number, static_cast<int>(i) + 1);
      EXPECT_EQ(members[i].iface, iface);
    }
    for (const Operation* op : OperationsOf(iface)) {
      std::u16string odd(op->name);  // every other letter's case turned
      for (std::size_t i = 0; i < odd.size(); i += 2) {
        const char16_t c = odd[i];
        odd[i] = c >= u'a' && c <= u'z' ? c - 0x20 : c >= u'A' && c <= u'Z' ? c + 0x20 : c;
      }
      const Member* m = FindMember(iface, odd);
      ASSERT_NE(m, nullptr) << U8(odd);
      EXPECT_EQ(m->name, op->name);
      // Of two entries of one name and kind, the first in slot order.
      EXPECT_EQ(m->entry(op->kind)->name, op->name);
      EXPECT_LE(m->entry(op->kind), op);
    }
  }
  struct Case {
    Interface iface;
    std::u16string name;
  } unknown[] = {
      {Interface::kDolva, u""},
      {Interface::kDolva, u"Letra"},
      {Interface::kDolva, u"Letrass"},
      {Interface::kDolva, u"LETR\u00C1S"},  // no accented letter folds to a plain one
      {Interface::kDolva, std::u16string(u"Letras\u0000", 7)},
      {Interface::kDolva, std::u16string(100, u'A')},
      {Interface::kAPIs, u"Letras"},
      {Interface::kDolva, u"WinDir"},
  };
  for (const auto& c : unknown) EXPECT_EQ(FindMember(c.iface, c.name), nullptr) << U8(c.name);
}

// Calls skip their required arguments' check for the optional ones: an interface lists its
// optional parameters last.
TEST_F(DispatchTest, OptionalParametersComeLast) {
  for (const auto& op : Surface()) {
    bool optional = false;
    for (const Param& p : op.params) {
      EXPECT_TRUE(p.optional || !optional) << U8(op.name) << " " << U8(p.name);
      optional = optional || p.optional;
    }
  }
}

// An entry resolved once takes positional arguments: by-reference ones change in place and are
// reported, also when the routine fails after changing them, and a missing one is left out.
TEST_F(DispatchTest, PositionalCallsThroughAResolvedEntry) {
  Dolva d(services_);
  const Operation& letras = *FindOperation(Interface::kDolva, u"Letras");
  const Operation& fillhours = *FindOperation(Interface::kDolva, u"Fillhours");
  const Operation& par = *FindOperation(Interface::kDolva, u"EsNumeroPar");
  struct Case {
    const Operation* op;
    std::vector<Variant> args;
    Variant result;  // Empty when the call fails with `error`
    int error;
    std::vector<Variant> after;
    std::vector<bool> changed;
  } cases[] = {
      {&letras,
       {Variant(Currency::FromWhole(21))},
       Variant(u"VEINTIUN PESOS, 00/100 M.N."),
       0,
       {Variant(Currency::FromWhole(21))},
       {false}},
      {&letras,
       {Variant(u"15.5"), Variant(false), Variant::Missing(), Variant::Missing(),
        Variant::Missing(), Variant(false)},
       Variant(u"quince con 50"),
       0,
       {Variant(u"15.5"), Variant(false), Variant::Missing(), Variant::Missing(),
        Variant::Missing(), Variant(false)},
       {false, false, false, false, false, false}},
      {&fillhours, {Variant(u"")}, Variant(u"00:00"), 0, {Variant(u"00:00")}, {true}},
      {&fillhours, {Variant(u"08:30")}, Variant(u"08:30"), 0, {Variant(u"08:30")}, {false}},
      {&par, {Variant(std::int16_t{-4})}, Variant(true), 0, {Variant(std::int16_t{-4})}, {false}},
      {&par, {Variant(u"7")}, Variant(false), 0, {Variant(u"7")}, {false}},
      {&par, {Variant(u"x")}, Variant(), err::kTypeMismatch, {Variant(u"x")}, {false}},
      {&par, {}, Variant(), err::kArgNotOptional, {}, {}},
      {&par, {Variant::Missing()}, Variant(), err::kArgNotOptional, {Variant::Missing()}, {false}},
      {&par,
       {Variant(1), Variant(2)},
       Variant(),
       err::kWrongArgCount,
       {Variant(1), Variant(2)},
       {false, false}},
  };
  for (auto& c : cases) {
    std::unique_ptr<bool[]> flags(new bool[c.args.size() + 1]());
    const std::string what = U8(c.op->name) + " case " + std::to_string(&c - cases);
    Variant result;
    EXPECT_EQ(ErrorOf([&] {
                result =
                    Invoke(&d, *c.op, std::span(c.args), std::span(flags.get(), c.args.size()));
              }),
              c.error)
        << what;
    EXPECT_EQ(result, c.result) << what;
    EXPECT_EQ(c.args, c.after) << what;
    for (std::size_t k = 0; k < c.args.size(); ++k) EXPECT_EQ(flags[k], c.changed[k]) << what;
  }
  // Written back before the failure, as a host's variable shows it.
  auto form = std::make_shared<MemoryForm>(u"frmAlta");
  form->AddTextBox(u"txtFecha", u"old");
  std::vector<Variant> args{Variant(u"15/  /2009"), Variant(u" txtfecha "),
                            Variant(ObjectRef(form))};
  bool changed[3] = {};
  const Operation& valida = *FindOperation(Interface::kDolva, u"FechaValida");
  EXPECT_EQ(ErrorOf([&] { Invoke(&d, valida, std::span(args), std::span(changed)); }),
            err::kTypeMismatch);
  EXPECT_EQ(args[1], Variant(u"TXTFECHA"));
  EXPECT_TRUE(changed[1]);
  EXPECT_FALSE(changed[0]);
}

Argument Arg(std::u16string_view name, Variant value) {
  Argument a;
  a.name = name;
  a.value = std::move(value);
  return a;
}

// A variant option left out goes to its routine as Missing, which the routine must read as the
// default the table documents: the same call with the default written out must give the same.
TEST_F(DispatchTest, OmittedVariantOptionsReadAsTheirDocumentedDefaults) {
  auto windows = std::make_shared<fakes::RecordingSystemWindows>();
  services_->system_windows = windows;
  // The other arguments of each operation with such options, a few sets each.
  auto amount = [](double v) { return Arg(u"", Variant(Currency::FromDouble(v))); };
  const std::map<std::u16string_view, std::vector<std::vector<Argument>>> others{
      {u"Letras", {{amount(1234.5)}, {amount(0.01)}, {amount(-1000000)}, {amount(15.5)}}},
      {u"Fechador", {{}, {Arg(u"sFecha", Variant(MakeDate({2009, 3, 15}, {17, 30, 0})))}}},
      {u"System", {{Arg(u"Nuevo", Variant(false))}, {Arg(u"Nuevo", Variant(true))}}},
  };
  // Each outcome as text: the result, or the error number; and the windows asked for.
  auto outcome = [&](const Operation& op, std::vector<Argument> args) {
    Dolva d(services_);
    windows->shown.clear();
    std::string out;
    try {
      out = U8(ToText(Invoke(&d, op, args), kEs));
    } catch (const Error& e) {
      out = "error " + std::to_string(e.number());
    }
    for (const auto& w : windows->shown)
      out += w.pc_info ? " info" : " splash", out += w.modal ? "/modal" : "";
    return out;
  };
  int checked = 0;
  for (const auto& op : Surface()) {
    for (std::size_t k = 0; k < op.params.size(); ++k) {
      const Param& p = op.params[k];
      if (p.type != ParamType::kVariant || p.default_value.kind == DefaultValue::Kind::kNone)
        continue;
      const auto sets = others.find(op.name);
      ASSERT_NE(sets, others.end()) << U8(op.name) << " has variant options: add its arguments";
      for (const auto& omitted : sets->second) {
        std::vector<Argument> written = omitted;
        written.push_back(Arg(p.name, p.default_value.ToVariant()));
        EXPECT_EQ(outcome(op, omitted), outcome(op, written)) << U8(op.name) << " " << U8(p.name);
        ++checked;
      }
    }
  }
  EXPECT_GE(checked, 12 * 2);
}

}  // namespace
}  // namespace velmora
