// What every Windows program of the COM suite shares: checks counted and each failure printed
// with what was expected, the summary line run.sh and deploy.sh read ("SUMMARY name: N checks,
// F failures", its failure count the exit status), and calls by name as a script host makes them.
//
// Usable from files that see COM through its C tables (CINTERFACE): nothing here calls through
// an interface inline.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "win32/win_api.h"

namespace velmora::comtest {

std::string Narrow(std::u16string_view text);
std::string Narrow(std::wstring_view text);
// A BSTR's text; a null BSTR is the empty text.
std::u16string Text(BSTR text);

void Check(bool ok, const std::string& what);
void CheckText(std::u16string_view actual, std::u16string_view expected, const std::string& what);
void CheckText(std::wstring_view actual, std::wstring_view expected, const std::string& what);
void CheckText(std::string_view actual, std::string_view expected, const std::string& what);
void CheckNumber(long long actual, long long expected, const std::string& what);
// An HRESULT or other status, shown in hexadecimal.
void CheckCode(HRESULT actual, HRESULT expected, const std::string& what);
// Prints the summary line of the program `name`; answers the failure count.
int Summary(std::string_view name);

// The arguments of a call by name, in the caller's order; the last Named() ones are passed by
// name. Owns its VARIANTs (an object is add-ref'd, a by-reference target is not).
class Args {
 public:
  Args() = default;
  Args(const Args&) = delete;
  Args& operator=(const Args&) = delete;
  ~Args();
  Args& Text(std::u16string_view text);
  Args& Int(short n);
  Args& Bool(bool b);
  Args& Missing();  // an optional argument left out
  Args& Ref(VARIANT* target);
  Args& RefText(BSTR* target);
  Args& Object(IDispatch* object);
  Args& Raw(const VARIANT& value);  // taken over
  Args& Named(std::u16string_view name);

  const std::vector<VARIANT>& values() const { return values_; }
  const std::vector<std::u16string>& names() const { return names_; }

 private:
  std::vector<VARIANT> values_;
  std::vector<std::u16string> names_;
};

// What a call by name came to.
struct Outcome {
  HRESULT hr = S_OK;
  VARIANT result;
  std::u16string description;  // of a raised error (DISP_E_EXCEPTION)
  std::u16string source;
  long scode = 0;

  Outcome();
  Outcome(Outcome&& other) noexcept;
  Outcome(const Outcome&) = delete;
  Outcome& operator=(const Outcome&) = delete;
  ~Outcome();
  long number() const;           // a Long result, else -99999
  VARIANT_BOOL boolean() const;  // a Boolean result, else 99
  IDispatch* object() const;     // an object result, else null
  // A text result; "" for no result; "error: " and the description (or the HRESULT) for a
  // failed call; "(not a text)" for a result of another kind.
  std::u16string text() const;
};

// Calls a member by name (GetIDsOfNames, then Invoke) with DISPATCH_METHOD |
// DISPATCH_PROPERTYGET or the flags given.
Outcome Call(IDispatch* object, std::u16string_view member, const Args& args = Args(),
             WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET);

// An object of a class by program identifier (CLSIDFromProgID, then CoCreateInstance); null
// when either fails, with the failure in `hr` when given.
IDispatch* Create(const wchar_t* progid, HRESULT* hr = nullptr);

}  // namespace velmora::comtest
