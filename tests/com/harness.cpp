#include "harness.h"

#include <cstdio>

namespace velmora::comtest {

namespace {

int checks = 0;
int failures = 0;

VARIANT Fresh(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  return v;
}

}  // namespace

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::string Narrow(std::u16string_view text) {
  return Narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

std::u16string Text(BSTR text) {
  if (text == nullptr) return {};
  return {reinterpret_cast<const char16_t*>(text), SysStringLen(text)};
}

void Check(bool ok, const std::string& what) {
  ++checks;
  if (ok) return;
  ++failures;
  std::printf("FAIL %s\n", what.c_str());
  std::fflush(stdout);
}

void CheckText(std::string_view actual, std::string_view expected, const std::string& what) {
  Check(actual == expected,
        what + ": got \"" + std::string(actual) + "\", expected \"" + std::string(expected) + "\"");
}

void CheckText(std::u16string_view actual, std::u16string_view expected, const std::string& what) {
  CheckText(Narrow(actual), Narrow(expected), what);
}

void CheckText(std::wstring_view actual, std::wstring_view expected, const std::string& what) {
  CheckText(Narrow(actual), Narrow(expected), what);
}

void CheckNumber(long long actual, long long expected, const std::string& what) {
  Check(actual == expected,
        what + ": got " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

void CheckCode(HRESULT actual, HRESULT expected, const std::string& what) {
  char text[48];
  std::snprintf(text, sizeof text, ": 0x%08lx, expected 0x%08lx",
                static_cast<unsigned long>(actual), static_cast<unsigned long>(expected));
  Check(actual == expected, what + text);
}

int Summary(std::string_view name) {
  std::printf("SUMMARY %.*s: %d checks, %d failures\n", static_cast<int>(name.size()), name.data(),
              checks, failures);
  return failures;
}

Args::~Args() {
  for (auto& v : values_) VariantClear(&v);
}

Args& Args::Text(std::u16string_view text) {
  VARIANT v = Fresh(VT_BSTR);
  V_BSTR(&v) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                 static_cast<UINT>(text.size()));
  values_.push_back(v);
  return *this;
}

Args& Args::Int(short n) {
  VARIANT v = Fresh(VT_I2);
  V_I2(&v) = n;
  values_.push_back(v);
  return *this;
}

Args& Args::Bool(bool b) {
  VARIANT v = Fresh(VT_BOOL);
  V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
  values_.push_back(v);
  return *this;
}

Args& Args::Missing() {
  VARIANT v = Fresh(VT_ERROR);
  V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
  values_.push_back(v);
  return *this;
}

Args& Args::Ref(VARIANT* target) {
  VARIANT v = Fresh(VT_BYREF | VT_VARIANT);
  V_VARIANTREF(&v) = target;
  values_.push_back(v);
  return *this;
}

Args& Args::RefText(BSTR* target) {
  VARIANT v = Fresh(VT_BYREF | VT_BSTR);
  V_BSTRREF(&v) = target;
  values_.push_back(v);
  return *this;
}

Args& Args::Object(IDispatch* object) {
  VARIANT v = Fresh(VT_DISPATCH);
  V_DISPATCH(&v) = object;
  if (object != nullptr) object->AddRef();
  values_.push_back(v);
  return *this;
}

Args& Args::Raw(const VARIANT& value) {
  values_.push_back(value);
  return *this;
}

Args& Args::Named(std::u16string_view name) {
  names_.emplace_back(name);
  return *this;
}

Outcome::Outcome() { VariantInit(&result); }

Outcome::Outcome(Outcome&& other) noexcept
    : hr(other.hr),
      result(other.result),
      description(std::move(other.description)),
      source(std::move(other.source)),
      scode(other.scode) {
  VariantInit(&other.result);
}

Outcome::~Outcome() { VariantClear(&result); }

long Outcome::number() const { return V_VT(&result) == VT_I4 ? V_I4(&result) : -99999; }

VARIANT_BOOL Outcome::boolean() const { return V_VT(&result) == VT_BOOL ? V_BOOL(&result) : 99; }

IDispatch* Outcome::object() const {
  return V_VT(&result) == VT_DISPATCH ? V_DISPATCH(&result) : nullptr;
}

std::u16string Outcome::text() const {
  if (hr == DISP_E_EXCEPTION) return u"error: " + description;
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(hr));
    return u"error: HRESULT " + std::u16string(code, code + std::char_traits<char>::length(code));
  }
  if (V_VT(&result) == VT_EMPTY) return {};
  return V_VT(&result) == VT_BSTR ? comtest::Text(V_BSTR(&result)) : u"(not a text)";
}

Outcome Call(IDispatch* object, std::u16string_view member, const Args& args, WORD flags) {
  Outcome out;
  const std::u16string member_name(member);
  std::vector<LPOLESTR> names{
      const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(member_name.c_str()))};
  for (const auto& n : args.names())
    names.push_back(const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(n.c_str())));
  std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
  out.hr = object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                 LOCALE_USER_DEFAULT, ids.data());
  if (FAILED(out.hr)) return out;
  // rgvarg holds the arguments last first; the named ones are the last of the caller's list.
  std::vector<VARIANT> reversed(args.values().rbegin(), args.values().rend());
  std::vector<DISPID> named(ids.rbegin(), ids.rend() - 1);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), named.data(), static_cast<UINT>(reversed.size()),
                    static_cast<UINT>(named.size())};
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  EXCEPINFO info{};
  out.hr = object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &out.result, &info,
                          nullptr);
  if (out.hr == DISP_E_EXCEPTION) {
    out.description = Text(info.bstrDescription);
    out.source = Text(info.bstrSource);
    out.scode = info.scode;
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
  }
  return out;
}

IDispatch* Create(const wchar_t* progid, HRESULT* hr) {
  HRESULT status = S_OK;
  CLSID clsid{};
  IDispatch* object = nullptr;
  status = CLSIDFromProgID(progid, &clsid);
  if (SUCCEEDED(status)) {
    status = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&object));
  }
  if (hr != nullptr) *hr = status;
  return SUCCEEDED(status) ? object : nullptr;
}

}  // namespace velmora::comtest
