// Calls through the interface tables of _Dolva and _APIs, as an early-bound client (a host that
// references the type library) makes them: typed arguments, by-reference variables, the
// [out, retval] result and errors as HRESULT with IErrorInfo.
//
// The IDL compiler's header is used in C mode here (its C++ declarations carry default
// arguments that C++ rejects), so this file uses COM only through the C tables.
#define CINTERFACE

#include <string>

#include "client.h"
#include "win32/win_api.h"

// The client defines the identifiers it uses itself, as a client compiled from the IDL does.
#include <initguid.h>

#include "VelmoraSys_h.h"

namespace velmora::client {

namespace {

std::u16string Text(BSTR b) {
  return b == nullptr ? std::u16string()
                      : std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
}

BSTR Bstr(const char16_t* s) { return SysAllocString(reinterpret_cast<const OLECHAR*>(s)); }

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

  // A field written and read through its slots.
  BSTR name = Bstr(u"Ana Luz");
  Check(d->lpVtbl->put_Name(d, name) == S_OK, "table: put_Name");
  SysFreeString(name);
  Check(d->lpVtbl->ReverseName(d) == S_OK, "table: ReverseName");
  BSTR got = nullptr;
  Check(d->lpVtbl->get_Name(d, &got) == S_OK, "table: get_Name");
  CheckText(Text(got), u"zuL anA", "table: Name after ReverseName");
  SysFreeString(got);

  VARIANT_BOOL flag = VARIANT_FALSE;
  Check(d->lpVtbl->get_Es_Supervisor(d, &flag) == S_OK && flag == VARIANT_FALSE,
        "table: Es_Supervisor starts false");
  d->lpVtbl->put_Es_Supervisor(d, VARIANT_TRUE);
  d->lpVtbl->get_Es_Supervisor(d, &flag);
  CheckNumber(flag, VARIANT_TRUE, "table: Es_Supervisor reads back true (-1)");

  // An optional VARIANT left out arrives as "parameter not found".
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  BSTR sdat = Bstr(u"7");
  got = nullptr;
  Check(d->lpVtbl->StrZero(d, sdat, 3, &missing, &got) == S_OK, "table: StrZero");
  CheckText(Text(got), u"007", "table: StrZero(\"7\", 3)");
  SysFreeString(got);

  VARIANT fill;
  VariantInit(&fill);
  V_VT(&fill) = VT_BSTR;
  V_BSTR(&fill) = Bstr(u"*");
  got = nullptr;
  BSTR padded = Bstr(u" 42 ");
  d->lpVtbl->StrZero(d, padded, 5, &fill, &got);
  CheckText(Text(got), u"***42", "table: StrZero(\" 42 \", 5, \"*\")");
  CheckText(Text(V_BSTR(&fill)), u"*", "table: StrZero leaves sFill unchanged");
  SysFreeString(got);
  SysFreeString(padded);
  VariantClear(&fill);

  // Runtime errors: the HRESULT of the number and the description in IErrorInfo.
  got = nullptr;
  const HRESULT hr6 = d->lpVtbl->StrZero(d, sdat, -32768, &missing, &got);
  CheckNumber(hr6, static_cast<long>(0x800A0006), "table: StrZero with a shortfall past 16 bits");
  CheckText(LastErrorDescription(), u"Desbordamiento", "table: description of error 6");
  Check(got == nullptr, "table: a failed call leaves the result empty");
  VARIANT empty_fill;
  VariantInit(&empty_fill);
  V_VT(&empty_fill) = VT_BSTR;
  V_BSTR(&empty_fill) = Bstr(u"");
  const HRESULT hr5 = d->lpVtbl->StrZero(d, sdat, 5, &empty_fill, &got);
  CheckNumber(hr5, static_cast<long>(0x800A0005), "table: StrZero with an empty fill is error 5");
  CheckText(LastErrorDescription(), u"Llamada a procedimiento o argumento no válidos",
            "table: description of error 5");
  VariantClear(&empty_fill);
  SysFreeString(sdat);

  // Typed by-reference arguments: Edad writes the normalised mode back into the variable.
  DATE from = Day(1975, 8, 20);
  DATE to = Day(2009, 3, 15);
  BSTR mode = Bstr(u"c");
  VARIANT_BOOL zeros = VARIANT_TRUE;
  VARIANT_BOOL days = VARIANT_FALSE;
  got = nullptr;
  Check(d->lpVtbl->Edad(d, &from, &to, &mode, &zeros, &days, &got) == S_OK, "table: Edad");
  CheckText(Text(got), u"33 a, 06 m, 27 d.", "table: Edad in mode \"c\"");
  CheckText(Text(mode), u"C", "table: Edad writes the mode back as \"C\"");
  SysFreeString(got);
  SysFreeString(mode);

  // Fillhours fills an empty variable in place.
  BSTR hours = Bstr(u"");
  got = nullptr;
  Check(d->lpVtbl->Fillhours(d, &hours, &got) == S_OK, "table: Fillhours");
  CheckText(Text(got), u"00:00", "table: Fillhours of an empty variable");
  CheckText(Text(hours), u"00:00", "table: Fillhours leaves \"00:00\" in the variable");
  SysFreeString(got);
  SysFreeString(hours);

  // System's bModal is converted before any window opens: a text that is no Boolean is 13.
  VARIANT modal;
  VariantInit(&modal);
  V_VT(&modal) = VT_BSTR;
  V_BSTR(&modal) = SysAllocString(L"tres");
  VARIANT_BOOL nuevo = VARIANT_TRUE;
  CheckNumber(d->lpVtbl->System(d, &modal, &nuevo), static_cast<long>(0x800A000D),
              "table: System with a text for bModal raises 13");
  CheckText(LastErrorDescription(), u"No coinciden los tipos",
            "table: description of System's error");
  VariantClear(&modal);

  // APIs through its table.
  got = nullptr;
  Check(a->lpVtbl->WinDir(a, &got) == S_OK, "table: WinDir");
  CheckText(Text(got), u"C:\\windows\\", "table: WinDir");
  SysFreeString(got);

  a->lpVtbl->Release(a);
  d->lpVtbl->Release(d);
}

}  // namespace velmora::client
