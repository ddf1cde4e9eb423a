#include "convert.h"

// The datetime C API lives in a static table of each translation unit that includes it: every
// date conversion of the module is in this file.
#include <datetime.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "host_object.h"
#include "velmora/coerce.h"
#include "velmora/error.h"

namespace velmora::python {

namespace {

// Set once by InitConversions and kept for the life of the process, as the module is.
PyObject* g_empty = nullptr;
PyObject* g_missing = nullptr;
PyObject* g_decimal = nullptr;

Variant FromInt(PyObject* value) {
  int overflow = 0;
  const long long v = PyLong_AsLongLongAndOverflow(value, &overflow);
  if (overflow != 0) throw Error(err::kOverflow);
  if (v == -1 && PyErr_Occurred() != nullptr) throw py::error_already_set();
  if (v >= std::numeric_limits<std::int16_t>::min() &&
      v <= std::numeric_limits<std::int16_t>::max())
    return Variant(static_cast<std::int16_t>(v));
  if (v >= std::numeric_limits<std::int32_t>::min() &&
      v <= std::numeric_limits<std::int32_t>::max())
    return Variant(static_cast<std::int32_t>(v));
  // Exact up to the currency range, where a double would round.
  return Variant(Currency::FromWhole(v));
}

// A decimal.Decimal as a currency amount, exactly: its digits scaled by 10 000, the digits
// beyond the fourth decimal rounded away with halves to even.
Currency FromDecimal(py::handle value) {
  const py::tuple parts = value.attr("as_tuple")();
  const bool negative = parts[0].cast<int>() != 0;
  const py::tuple digits = parts[1];
  const py::object exponent = parts[2];
  // NaN and the infinities carry a letter for their exponent.
  if (!PyLong_Check(exponent.ptr())) throw Error(err::kOverflow);
  const long long shift = exponent.cast<long long>() + 4;  // the power of ten of the last digit
  const auto n = static_cast<long long>(digits.size());
  const long long kept = shift >= 0 ? n : n + shift;        // digits left of the rounding point
  constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;  // the magnitude of INT64_MIN
  std::uint64_t magnitude = 0;
  auto push = [&](std::uint64_t digit) {
    if (__builtin_mul_overflow(magnitude, 10u, &magnitude) ||
        __builtin_add_overflow(magnitude, digit, &magnitude) || magnitude > kLimit)
      throw Error(err::kOverflow);
  };
  for (long long i = 0; i < kept; ++i) push(digits[static_cast<std::size_t>(i)].cast<unsigned>());
  // Zero stays zero whatever its exponent; anything else overflows within 19 places.
  for (long long i = 0; i < shift && magnitude != 0; ++i) push(0);
  if (kept < n) {
    // The first dropped digit, and whether any after it is not zero; a digit before the first
    // of the number is a zero.
    const unsigned first = kept >= 0 ? digits[static_cast<std::size_t>(kept)].cast<unsigned>() : 0;
    bool rest = false;
    for (long long i = std::max(kept + 1, 0LL); i < n && !rest; ++i)
      rest = digits[static_cast<std::size_t>(i)].cast<unsigned>() != 0;
    if (first > 5 || (first == 5 && (rest || magnitude % 2 == 1))) {
      if (++magnitude > kLimit) throw Error(err::kOverflow);
    }
  }
  if (!negative && magnitude == kLimit) throw Error(err::kOverflow);
  return Currency::FromScaled(negative ? static_cast<std::int64_t>(0 - magnitude)
                                       : static_cast<std::int64_t>(magnitude));
}

py::object ToDecimal(Currency value) {
  const std::int64_t scaled = value.scaled();
  const std::uint64_t magnitude =
      scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string text = scaled < 0 ? "-" : "";
  text += std::to_string(magnitude / Currency::kScale);
  if (const auto frac = magnitude % Currency::kScale; frac != 0) {
    std::string decimals = std::to_string(frac + Currency::kScale).substr(1);  // four digits
    decimals.erase(decimals.find_last_not_of('0') + 1);
    text += "." + decimals;
  }
  return py::reinterpret_borrow<py::object>(g_decimal)(text);
}

bool IsDecimal(PyObject* value) {
  const int is = PyObject_IsInstance(value, g_decimal);
  if (is < 0) throw py::error_already_set();
  return is == 1;
}

// The day number of 30 December 1899, day 0 of the library's dates.
constexpr CivilDate kDayZero{1899, 12, 30};

py::object FromDate(Date value) {
  if (!IsValidDate(value)) throw Error(err::kOverflow);
  const CivilDateTime dt = SplitDate(value);
  const CivilDate& d = dt.date;
  const CivilTime& t = dt.time;
  PyObject* out = nullptr;
  if (t == CivilTime{}) {
    out = PyDate_FromDate(d.year, d.month, d.day);
  } else if (d == kDayZero) {
    out = PyTime_FromTime(t.hour, t.minute, t.second, 0);
  } else {
    out = PyDateTime_FromDateAndTime(d.year, d.month, d.day, t.hour, t.minute, t.second, 0);
  }
  if (out == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(out);
}

}  // namespace

void InitConversions(py::handle empty, py::handle missing) {
  PyDateTime_IMPORT;
  if (PyDateTimeAPI == nullptr) throw py::error_already_set();
  g_empty = empty.inc_ref().ptr();
  g_missing = missing.inc_ref().ptr();
  g_decimal = py::object(py::module_::import("decimal").attr("Decimal")).release().ptr();
}

std::u16string TextOf(py::handle str) {
  PyObject* s = str.ptr();
  const Py_ssize_t n = PyUnicode_GET_LENGTH(s);
  const void* data = PyUnicode_DATA(s);
  std::u16string out;
  switch (PyUnicode_KIND(s)) {
    case PyUnicode_1BYTE_KIND: {
      const auto* chars = static_cast<const Py_UCS1*>(data);
      out.assign(chars, chars + n);
      break;
    }
    case PyUnicode_2BYTE_KIND: {
      const auto* chars = static_cast<const Py_UCS2*>(data);
      out.assign(chars, chars + n);
      break;
    }
    default: {
      const auto* chars = static_cast<const Py_UCS4*>(data);
      out.reserve(static_cast<std::size_t>(n) + 1);
      for (Py_ssize_t i = 0; i < n; ++i) {
        const Py_UCS4 c = chars[i];
        if (c < 0x10000) {
          out.push_back(static_cast<char16_t>(c));
        } else {
          out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
          out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
      }
    }
  }
  return out;
}

namespace {

// Texts are scanned and narrowed in blocks of a fixed length, which the compiler turns into
// vector instructions at the default optimisation level, and the rest unit by unit.
constexpr std::size_t kBlock = 16;

// The bits of all units together.
unsigned AllBits(std::u16string_view text) {
  unsigned bits = 0;
  std::size_t i = 0;
  for (; i + kBlock <= text.size(); i += kBlock) {
    for (std::size_t k = 0; k < kBlock; ++k) bits |= text[i + k];
  }
  for (; i < text.size(); ++i) bits |= text[i];
  return bits;
}

// Copies units below 0x100 as bytes.
void Narrow(std::u16string_view text, Py_UCS1* out) {
  std::size_t i = 0;
  for (; i + kBlock <= text.size(); i += kBlock) {
    std::array<Py_UCS1, kBlock> block;  // a local block: no aliasing with `out` to rule out
    for (std::size_t k = 0; k < kBlock; ++k) block[k] = static_cast<Py_UCS1>(text[i + k]);
    std::memcpy(out + i, block.data(), kBlock);
  }
  for (; i < text.size(); ++i) out[i] = static_cast<Py_UCS1>(text[i]);
}

}  // namespace

py::object PyText(std::u16string_view text) {
  static_assert(sizeof(char16_t) == sizeof(Py_UCS2));
  const std::size_t n = text.size();
  // The bits of all units together tell the narrowest form that holds the text.
  const unsigned bits = AllBits(text);
  const bool surrogates = bits >= 0xD800 && std::any_of(text.begin(), text.end(), [](char16_t c) {
                            return c >= 0xD800 && c <= 0xDFFF;
                          });
  PyObject* out = nullptr;
  if (surrogates) {
    // Pairs become one character; a lone surrogate stays itself, as Python allows.
    int order = std::endian::native == std::endian::little ? -1 : 1;
    out = PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(text.data()),
                                static_cast<Py_ssize_t>(n * 2), "surrogatepass", &order);
  } else if (bits < 0x100) {
    // The usual case (Spanish words, digits): one byte a character, filled in place.
    out = PyUnicode_New(static_cast<Py_ssize_t>(n), bits < 0x80 ? 0x7F : 0xFF);
    if (out != nullptr) Narrow(text, PyUnicode_1BYTE_DATA(out));
  } else {
    out = PyUnicode_New(static_cast<Py_ssize_t>(n), 0xFFFF);
    if (out != nullptr) std::copy(text.begin(), text.end(), PyUnicode_2BYTE_DATA(out));
  }
  if (out == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(out);
}

bool IsDateLike(py::handle value) { return PyDate_Check(value.ptr()) || PyTime_Check(value.ptr()); }

bool IsCalendarDate(py::handle value) { return PyDate_Check(value.ptr()); }

Date DateOf(py::handle value) {
  PyObject* v = value.ptr();
  CivilDate date = kDayZero;
  CivilTime time;
  if (PyDate_Check(v)) {
    date = {PyDateTime_GET_YEAR(v), PyDateTime_GET_MONTH(v), PyDateTime_GET_DAY(v)};
    if (PyDateTime_Check(v)) {
      time = {PyDateTime_DATE_GET_HOUR(v), PyDateTime_DATE_GET_MINUTE(v),
              PyDateTime_DATE_GET_SECOND(v)};
    }
  } else if (PyTime_Check(v)) {
    time = {PyDateTime_TIME_GET_HOUR(v), PyDateTime_TIME_GET_MINUTE(v),
            PyDateTime_TIME_GET_SECOND(v)};
  } else {
    throw Error(err::kTypeMismatch);
  }
  const Date out = MakeDate(date, time);
  if (!IsValidDate(out)) throw Error(err::kOverflow);
  return out;
}

Variant ToVariant(py::handle value, ParamType type) {
  PyObject* v = value.ptr();
  if (v == Py_None) {
    // An object parameter or field takes None as no object at all.
    return type == ParamType::kObject ? Variant(ObjectRef()) : Variant::Null();
  }
  if (PyBool_Check(v)) return Variant(v == Py_True);
  if (PyLong_Check(v)) return FromInt(v);
  if (PyFloat_Check(v)) return Variant(PyFloat_AS_DOUBLE(v));
  if (PyUnicode_Check(v)) return Variant(TextOf(value));
  if (v == g_empty) return Variant();
  if (v == g_missing) return Variant::Missing();
  if (IsDateLike(value)) return Variant(DateOf(value));
  if (IsDecimal(v)) return Variant(FromDecimal(value));
  // Other whole numbers (numpy's, for one) go as the int they stand for.
  if (PyIndex_Check(v) != 0) {
    const auto index = py::reinterpret_steal<py::object>(PyNumber_Index(v));
    if (!index) throw py::error_already_set();
    return FromInt(index.ptr());
  }
  return Variant(ObjectOf(value));
}

py::object FromVariant(const Variant& value) {
  switch (value.type()) {
    case VarType::kEmpty: return py::reinterpret_borrow<py::object>(g_empty);
    case VarType::kNull: return py::none();
    case VarType::kMissing: return py::reinterpret_borrow<py::object>(g_missing);
    case VarType::kByte: return py::int_(value.byte());
    case VarType::kInteger: return py::int_(value.integer());
    case VarType::kLong: return py::int_(value.long_value());
    case VarType::kCurrency: return ToDecimal(value.currency());
    case VarType::kDouble: return py::float_(value.dbl());
    case VarType::kDate: return FromDate(value.date());
    case VarType::kText: return PyText(value.text());
    case VarType::kBoolean: return py::bool_(value.boolean());
    case VarType::kObject: {
      const ObjectRef& object = value.object();
      if (!object) return py::none();
      if (const auto* host = dynamic_cast<const PyHostObject*>(object.get())) return host->object();
      return py::cast(ObjectBox{object});
    }
  }
  return py::none();
}

bool IsPlainValue(py::handle value) {
  PyObject* v = value.ptr();
  return v == Py_None || v == g_empty || v == g_missing || PyBool_Check(v) || PyLong_Check(v) ||
         PyFloat_Check(v) || PyComplex_Check(v) || PyUnicode_Check(v) || PyBytes_Check(v) ||
         PyByteArray_Check(v) || PyMemoryView_Check(v) || PyList_Check(v) || PyTuple_Check(v) ||
         PyDict_Check(v) || PyAnySet_Check(v) || PyDate_Check(v) || PyTime_Check(v) ||
         PyDelta_Check(v) || IsDecimal(v) || py::isinstance<RefBox>(value) ||
         py::isinstance<ObjectBox>(value);
}

}  // namespace velmora::python
