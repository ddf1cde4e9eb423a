// The tagged value of the automation interfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "velmora/currency.h"
#include "velmora/date.h"

namespace velmora {

// A host object reached by name (a form, a control). Its members are defined by the forms
// family; the frame only carries references to it.
class Object {
 public:
  virtual ~Object() = default;
};
using ObjectRef = std::shared_ptr<Object>;

enum class VarType : std::uint8_t {
  kEmpty,    // never assigned
  kNull,     // no valid data
  kMissing,  // an optional argument the caller left out
  kByte,
  kInteger,  // 16-bit
  kLong,     // 32-bit
  kCurrency,
  kDouble,
  kDate,
  kText,
  kBoolean,
  kObject,
};

// Name of a kind as the automation runtime's TypeName gives it ("Integer", "String"...).
const char* TypeName(VarType type);

class Variant {
 public:
  struct NullTag {
    friend bool operator==(NullTag, NullTag) = default;
  };
  struct MissingTag {
    friend bool operator==(MissingTag, MissingTag) = default;
  };

  Variant() = default;
  static Variant Null() { return Variant(NullTag{}); }
  static Variant Missing() { return Variant(MissingTag{}); }
  Variant(std::uint8_t v) : v_(v) {}                     // NOLINT(google-explicit-constructor)
  Variant(std::int16_t v) : v_(v) {}                     // NOLINT(google-explicit-constructor)
  Variant(std::int32_t v) : v_(v) {}                     // NOLINT(google-explicit-constructor)
  Variant(Currency v) : v_(v) {}                         // NOLINT(google-explicit-constructor)
  Variant(double v) : v_(v) {}                           // NOLINT(google-explicit-constructor)
  Variant(Date v) : v_(v) {}                             // NOLINT(google-explicit-constructor)
  Variant(std::u16string v) : v_(std::move(v)) {}        // NOLINT(google-explicit-constructor)
  Variant(const char16_t* v) : v_(std::u16string(v)) {}  // NOLINT(google-explicit-constructor)
  Variant(bool v) : v_(v) {}                             // NOLINT(google-explicit-constructor)
  Variant(ObjectRef v) : v_(std::move(v)) {}             // NOLINT(google-explicit-constructor)

  VarType type() const { return static_cast<VarType>(v_.index()); }
  bool is(VarType t) const { return type() == t; }
  bool IsMissing() const { return type() == VarType::kMissing; }
  bool IsNull() const { return type() == VarType::kNull; }
  bool IsEmpty() const { return type() == VarType::kEmpty; }

  // Direct access to the held value; the caller has checked the kind.
  std::uint8_t byte() const { return std::get<std::uint8_t>(v_); }
  std::int16_t integer() const { return std::get<std::int16_t>(v_); }
  std::int32_t long_value() const { return std::get<std::int32_t>(v_); }
  Currency currency() const { return std::get<Currency>(v_); }
  double dbl() const { return std::get<double>(v_); }
  Date date() const { return std::get<Date>(v_); }
  const std::u16string& text() const { return std::get<std::u16string>(v_); }
  bool boolean() const { return std::get<bool>(v_); }
  const ObjectRef& object() const { return std::get<ObjectRef>(v_); }

  friend bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_; }

 private:
  explicit Variant(NullTag t) : v_(t) {}
  explicit Variant(MissingTag t) : v_(t) {}

  // The order of the alternatives is the order of VarType.
  std::variant<std::monostate, NullTag, MissingTag, std::uint8_t, std::int16_t, std::int32_t,
               Currency, double, Date, std::u16string, bool, ObjectRef>
      v_;
};

}  // namespace velmora
