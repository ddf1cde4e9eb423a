// Turns a typed member function of Dolva or APIs into a call-by-name entry.
//
// The parameter types of the C++ signature say how each argument is converted; a non-const
// lvalue reference is a by-reference parameter whose new value is written back when the routine
// changed it (also when it fails afterwards, as a by-reference variable of a host would show).
#pragma once

#include <array>
#include <cstddef>
#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

#include "velmora/coerce.h"
#include "velmora/dispatch.h"
#include "velmora/error.h"

namespace velmora::bind_detail {

template <typename T>
constexpr ParamType TypeOf() {
  using D = std::remove_cvref_t<T>;
  if constexpr (std::is_void_v<D>) return ParamType::kNone;
  else if constexpr (std::is_same_v<D, std::uint8_t>) return ParamType::kByte;
  else if constexpr (std::is_same_v<D, std::int16_t>) return ParamType::kInteger;
  else if constexpr (std::is_same_v<D, std::int32_t>) return ParamType::kLong;
  else if constexpr (std::is_same_v<D, Currency>) return ParamType::kCurrency;
  else if constexpr (std::is_same_v<D, Date>) return ParamType::kDate;
  else if constexpr (std::is_same_v<D, std::u16string>) return ParamType::kText;
  else if constexpr (std::is_same_v<D, bool>) return ParamType::kBoolean;
  else if constexpr (std::is_same_v<D, ObjectRef>) return ParamType::kObject;
  else if constexpr (std::is_same_v<D, Variant>) return ParamType::kVariant;
  else static_assert(sizeof(D) == 0, "type not allowed on the public surface");
}

template <typename T>
constexpr bool IsByRef() {
  return std::is_lvalue_reference_v<T> && !std::is_const_v<std::remove_reference_t<T>>;
}

template <typename D>
D Convert(const Variant& v, const LocaleData& loc) {
  if (v.IsMissing()) return D{};  // a typed optional left out without a default
  // A value of the parameter's own kind converts to itself, without the call.
  if constexpr (std::is_same_v<D, std::uint8_t>) {
    if (v.is(VarType::kByte)) return v.byte();
  } else if constexpr (std::is_same_v<D, std::int16_t>) {
    if (v.is(VarType::kInteger)) return v.integer();
  } else if constexpr (std::is_same_v<D, std::int32_t>) {
    if (v.is(VarType::kLong)) return v.long_value();
  } else if constexpr (std::is_same_v<D, Currency>) {
    if (v.is(VarType::kCurrency)) return v.currency();
  } else if constexpr (std::is_same_v<D, Date>) {
    if (v.is(VarType::kDate)) return v.date();
  } else if constexpr (std::is_same_v<D, std::u16string>) {
    if (v.is(VarType::kText)) return v.text();
  } else if constexpr (std::is_same_v<D, bool>) {
    if (v.is(VarType::kBoolean)) return v.boolean();
  }
  if constexpr (std::is_same_v<D, std::uint8_t>) return ToByte(v, loc);
  else if constexpr (std::is_same_v<D, std::int16_t>) return ToInteger(v, loc);
  else if constexpr (std::is_same_v<D, std::int32_t>) return ToLong(v, loc);
  else if constexpr (std::is_same_v<D, Currency>) return ToCurrency(v, loc);
  else if constexpr (std::is_same_v<D, Date>) return ToDate(v, loc);
  else if constexpr (std::is_same_v<D, std::u16string>) return ToText(v, loc);
  else if constexpr (std::is_same_v<D, bool>) return ToBoolean(v, loc);
  else if constexpr (std::is_same_v<D, ObjectRef>) return ToObject(v);
}

struct Nothing {};

// The value of a typed parameter left out: its default, or the type's empty value.
template <typename D>
D DefaultOf(const Param& p, const LocaleData& loc) {
  if (p.default_value.kind == DefaultValue::Kind::kNone) return D{};
  return Convert<D>(p.default_value.ToVariant(), loc);
}

// Holds one converted argument for the duration of the call; `given` is the caller's variable,
// null for a parameter left out. Only a by-reference argument that is the caller's own variable
// keeps its value from before the call, to tell whether the routine changed it: a default or a
// value passed by value has nobody to write back to.
template <typename T>
class Holder {
  using D = std::remove_cvref_t<T>;
  static constexpr bool kByRef = IsByRef<T>();

 public:
  [[gnu::always_inline]] Holder(Variant* given, const Param& p, const LocaleData& loc)
      : given_(given), value_(given != nullptr ? Convert<D>(*given, loc) : DefaultOf<D>(p, loc)) {
    if constexpr (kByRef) {
      if (given_ != nullptr) before_ = value_;
    }
  }
  D& get() { return value_; }
  // Writes a changed by-reference value to the caller's variable; says whether it did.
  void WriteBack(bool& written) {
    if constexpr (kByRef) {
      if (given_ != nullptr && !(value_ == before_)) {
        *given_ = Variant(value_);
        written = true;
      }
    }
  }

 private:
  Variant* given_;
  D value_;
  [[no_unique_address]] std::conditional_t<kByRef, D, Nothing> before_{};
};

static_assert(std::is_trivially_destructible_v<Currency> && std::is_trivially_destructible_v<Date>,
              "a variant holding neither a text nor an object needs no destructor");

// A Variant parameter is the caller's variable itself, changed in place, with a copy of its
// value from before the call. An option left out is a missing variant of the call's own
// instead, which the routine reads as the option's default (as a direct C++ caller's Missing).
// Either lives in the holder's one store, destroyed only if it holds a text or an object.
template <>
class Holder<Variant&> {
 public:
  [[gnu::always_inline]] Holder(Variant* given, const Param& /*p*/, const LocaleData& /*loc*/)
      : var_(given) {
    if (given == nullptr) var_ = new (store_) Variant(Variant::Missing());
    else new (store_) Variant(*given);
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;
  [[gnu::always_inline]] ~Holder() {
    Variant& v = stored();
    if (v.is(VarType::kText) || v.is(VarType::kObject)) v.~Variant();
  }
  Variant& get() { return *var_; }
  void WriteBack(bool& written) {
    if (var_ != &stored() && !(*var_ == stored())) written = true;
  }

 private:
  Variant& stored() { return *std::launder(reinterpret_cast<Variant*>(store_)); }
  Variant* var_;
  alignas(Variant) std::byte store_[sizeof(Variant)];
};

// The holders of one call, each built in place (a holder may point into itself) and in order.
template <std::size_t I, typename T>
struct Held {
  T held;
};
template <typename Sequence, typename... T>
struct Holders;
template <std::size_t... I, typename... T>
struct Holders<std::index_sequence<I...>, T...> : Held<I, T>... {
  template <std::size_t K, typename U>
  static U& At(Held<K, U>& h) {
    return h.held;
  }
};

template <typename>
struct MemFn;
template <typename C, typename R, typename... A>
struct MemFn<R (C::*)(A...)> {
  using Class = C;
  using Ret = R;
  static constexpr std::array<ParamType, sizeof...(A)> kTypes{TypeOf<A>()...};
  static constexpr std::array<bool, sizeof...(A)> kByRef{IsByRef<A>()...};
  template <std::size_t I>
  using Arg = std::tuple_element_t<I, std::tuple<A...>>;
};
template <typename C, typename R, typename... A>
struct MemFn<R (C::*)(A...) const> : MemFn<R (C::*)(A...)> {};

template <auto M, std::size_t... I>
Variant Call(void* self_ptr, const Operation& op, [[maybe_unused]] Variant* const* args,
             [[maybe_unused]] std::size_t count, [[maybe_unused]] bool* changed,
             std::index_sequence<I...>) {
  using F = MemFn<decltype(M)>;
  auto* self = static_cast<typename F::Class*>(self_ptr);
  [[maybe_unused]] const LocaleData& loc = self->services().locale;
  // A required parameter left out fails the call before any argument is converted. Optional
  // parameters come after the required ones, as in every automation interface.
  for (std::size_t k = 0; k < sizeof...(I) && !op.params[k].optional; ++k) {
    if (k >= count || args[k] == nullptr || args[k]->IsMissing()) throw Error(err::kArgNotOptional);
  }
  // An argument passed as missing is the same as one left out.
  [[maybe_unused]] auto given = [&](std::size_t k) -> Variant* {
    return k < count && args[k] != nullptr && !args[k]->IsMissing() ? args[k] : nullptr;
  };
  // Holders are built left to right, so the first argument that fails to convert raises.
  using H = Holders<std::index_sequence<I...>, Holder<typename F::template Arg<I>>...>;
  H h{{Holder<typename F::template Arg<I>>(given(I), op.params[I], loc)}...};
  auto write_back = [&] { (H::template At<I>(h).WriteBack(changed[I]), ...); };
  Variant result = [&]() -> Variant {
    try {
      if constexpr (std::is_void_v<typename F::Ret>) {
        (self->*M)(H::template At<I>(h).get()...);
        return Variant();
      } else {
        return Variant((self->*M)(H::template At<I>(h).get()...));
      }
    } catch (...) {
      write_back();
      throw;
    }
  }();
  write_back();
  return result;
}

template <auto M>
Variant Thunk(void* self, const Operation& op, Variant* const* args, std::size_t count,
              bool* changed) {
  using F = MemFn<decltype(M)>;
  return Call<M>(self, op, args, count, changed, std::make_index_sequence<F::kTypes.size()>{});
}

}  // namespace velmora::bind_detail

namespace velmora {

// The entry of a member function: Bind<&Dolva::Letras>().
template <auto M>
constexpr Binding Bind() {
  using F = bind_detail::MemFn<decltype(M)>;
  return Binding{&bind_detail::Thunk<M>, F::kTypes.data(), F::kByRef.data(),
                 static_cast<std::uint8_t>(F::kTypes.size()),
                 bind_detail::TypeOf<typename F::Ret>()};
}

}  // namespace velmora
