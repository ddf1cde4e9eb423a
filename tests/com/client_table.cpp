// Calls through the interface tables of _Dolva and _APIs, as an early-bound client (a host that
// references the type library) makes them: typed arguments, by-reference variables, the
// [out, retval] result and errors as HRESULT with IErrorInfo.
//
// The IDL compiler's header is used in C mode here (its C++ declarations carry default
// arguments that C++ rejects), so this file uses COM only through the C tables.
#define CINTERFACE

#include <string>

#include "harness.h"
#include "win32/win_api.h"

// The client defines the identifiers it uses itself, as a client compiled from the IDL does.
#include <initguid.h>

#include "VelmoraSys_h.h"

namespace velmora::client {

namespace {

using namespace velmora::comtest;

// A text the checks hand over and own.
struct Bstr {
  BSTR b;
  explicit Bstr(std::u16string_view text)
      : b(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                            static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b); }
};

// A VARIANT the checks hand over and own: a text, or an optional argument left out.
struct Var {
  VARIANT v;
  explicit Var(std::u16string_view text) {
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                   static_cast<UINT>(text.size()));
  }
  Var() {
    VariantInit(&v);
    V_VT(&v) = VT_ERROR;
    V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
  }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  ~Var() { VariantClear(&v); }
};

// The [out, retval] text of a slot called with its address; "(failed)" when the call fails.
template <typename Call>
std::u16string TextResult(Call call) {
  BSTR out = nullptr;
  const HRESULT hr = call(&out);
  std::u16string text = SUCCEEDED(hr) ? Text(out) : u"(failed)";
  SysFreeString(out);
  return text;
}

// The description the last failed call left in the thread's error object.
std::u16string LastErrorDescription() {
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || info == nullptr) return u"(no error info)";
  BSTR d = nullptr;
  info->lpVtbl->GetDescription(info, &d);
  std::u16string out = Text(d);
  SysFreeString(d);
  info->lpVtbl->Release(info);
  return out;
}

// A failed call: the HRESULT of the runtime error's number, its description in IErrorInfo.
void CheckFailure(HRESULT hr, int number, const std::u16string& description,
                  const std::string& what) {
  CheckCode(hr, static_cast<HRESULT>(0x800A0000 | number), what);
  CheckText(LastErrorDescription(), description, what + ": description");
}

DATE Day(int y, int m, int d) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(m);
  t.wDay = static_cast<WORD>(d);
  DATE out = 0;
  SystemTimeToVariantTime(&t, &out);
  return out;
}

}  // namespace

void TableChecks(void* dolva_unknown, void* apis_unknown) {
  _Dolva* d = nullptr;
  _APIs* a = nullptr;
  auto* du = static_cast<IUnknown*>(dolva_unknown);
  auto* au = static_cast<IUnknown*>(apis_unknown);
  Check(SUCCEEDED(du->lpVtbl->QueryInterface(du, IID__Dolva, reinterpret_cast<void**>(&d))),
        "table: QueryInterface(_Dolva)");
  Check(SUCCEEDED(au->lpVtbl->QueryInterface(au, IID__APIs, reinterpret_cast<void**>(&a))),
        "table: QueryInterface(_APIs)");
  if (d == nullptr || a == nullptr) return;

  // Fields written and read through their slots.
  CheckCode(d->lpVtbl->put_Name(d, Bstr(u"Ana Luz").b), S_OK, "table: put_Name");
  CheckCode(d->lpVtbl->ReverseName(d), S_OK, "table: ReverseName");
  CheckText(TextResult([&](BSTR* r) { return d->lpVtbl->get_Name(d, r); }), u"zuL anA",
            "table: Name after ReverseName");
  VARIANT_BOOL flag = VARIANT_FALSE;
  d->lpVtbl->put_Es_Supervisor(d, VARIANT_TRUE);
  d->lpVtbl->get_Es_Supervisor(d, &flag);
  CheckNumber(flag, VARIANT_TRUE, "table: Es_Supervisor reads back true (-1)");

  // An optional VARIANT left out arrives as "parameter not found"; one given is left unchanged.
  const Bstr sdat(u"7");
  Var missing;
  CheckText(TextResult([&](BSTR* r) { return d->lpVtbl->StrZero(d, sdat.b, 3, &missing.v, r); }),
            u"007", "table: StrZero(\"7\", 3)");
  Var fill(u"*");
  CheckText(
      TextResult([&](BSTR* r) { return d->lpVtbl->StrZero(d, Bstr(u" 42 ").b, 5, &fill.v, r); }),
      u"***42", "table: StrZero(\" 42 \", 5, \"*\")");
  CheckText(Text(V_BSTR(&fill.v)), u"*", "table: StrZero leaves sFill unchanged");

  // Runtime errors: the HRESULT of the number and the description in IErrorInfo.
  BSTR got = nullptr;
  CheckFailure(d->lpVtbl->StrZero(d, sdat.b, -32768, &missing.v, &got), 6, u"Desbordamiento",
               "table: StrZero with a shortfall past 16 bits");
  Check(got == nullptr, "table: a failed call leaves the result empty");
  Var empty_fill(u"");
  CheckFailure(d->lpVtbl->StrZero(d, sdat.b, 5, &empty_fill.v, &got), 5,
               u"Llamada a procedimiento o argumento no válidos",
               "table: StrZero with an empty fill");
  // System's bModal is converted before any window opens: a text that is no Boolean is 13.
  Var modal(u"tres");
  VARIANT_BOOL nuevo = VARIANT_TRUE;
  CheckFailure(d->lpVtbl->System(d, &modal.v, &nuevo), 13, u"No coinciden los tipos",
               "table: System with a text for bModal");

  // Typed by-reference variables written back: Edad's normalised mode, Fillhours' hours.
  DATE from = Day(1975, 8, 20);
  DATE to = Day(2009, 3, 15);
  Bstr mode(u"c");
  VARIANT_BOOL zeros = VARIANT_TRUE;
  VARIANT_BOOL days = VARIANT_FALSE;
  CheckText(TextResult(
                [&](BSTR* r) { return d->lpVtbl->Edad(d, &from, &to, &mode.b, &zeros, &days, r); }),
            u"33 a, 06 m, 27 d.", "table: Edad in mode \"c\"");
  CheckText(Text(mode.b), u"C", "table: Edad writes the mode back as \"C\"");
  Bstr hours(u"");
  CheckText(TextResult([&](BSTR* r) { return d->lpVtbl->Fillhours(d, &hours.b, r); }), u"00:00",
            "table: Fillhours of an empty variable");
  CheckText(Text(hours.b), u"00:00", "table: Fillhours leaves \"00:00\" in the variable");

  CheckText(TextResult([&](BSTR* r) { return a->lpVtbl->WinDir(a, r); }), u"C:\\windows\\",
            "table: APIs.WinDir");

  a->lpVtbl->Release(a);
  d->lpVtbl->Release(d);
}

}  // namespace velmora::client
