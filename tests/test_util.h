// Helpers shared by the test files.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/utf.h"
#include "velmora/variant.h"

namespace velmora {

inline std::string U8(std::u16string_view s) { return ToUtf8(s); }

// The runtime error number a call raised, 0 when it returned.
template <typename F>
int ErrorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

// gtest prints variants in failure messages through this.
inline void PrintTo(const Variant& v, std::ostream* os) {
  *os << TypeName(v.type());
  if (v.is(VarType::kText)) *os << " \"" << U8(v.text()) << "\"";
  else if (!v.IsEmpty() && !v.IsNull() && !v.IsMissing() && !v.is(VarType::kObject))
    *os << " " << U8(ToText(v, SpanishMexico()));
}

}  // namespace velmora
