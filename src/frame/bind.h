// Turns a typed member function of Dolva or APIs into a call-by-name entry.
//
// The parameter types of the C++ signature say how each argument is converted; a non-const
// lvalue reference is a by-reference parameter whose new value is written back when the routine
// changed it (also when it fails afterwards, as a by-reference variable of a host would show).
#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>

#include "velmora/coerce.h"
#include "velmora/dispatch.h"

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
  if constexpr (std::is_same_v<D, std::uint8_t>) return ToByte(v, loc);
  else if constexpr (std::is_same_v<D, std::int16_t>) return ToInteger(v, loc);
  else if constexpr (std::is_same_v<D, std::int32_t>) return ToLong(v, loc);
  else if constexpr (std::is_same_v<D, Currency>) return ToCurrency(v, loc);
  else if constexpr (std::is_same_v<D, Date>) return ToDate(v, loc);
  else if constexpr (std::is_same_v<D, std::u16string>) return ToText(v, loc);
  else if constexpr (std::is_same_v<D, bool>) return ToBoolean(v, loc);
  else if constexpr (std::is_same_v<D, ObjectRef>) return ToObject(v);
}

// Holds one converted argument for the duration of the call. Only a by-reference argument that
// is the caller's own variable (`watched`) keeps its value from before the call, to tell whether
// the routine changed it: a default or a value passed by value has nobody to write back to.
template <typename T>
class Holder {
  using D = std::remove_cvref_t<T>;

 public:
  Holder(Variant& slot, const LocaleData& loc, bool watched)
      : value_(Convert<D>(slot, loc)), watched_(IsByRef<T>() && watched) {
    if (watched_) before_ = value_;
  }
  D& get() { return value_; }
  void WriteBack(Variant& slot, bool& written) {
    written = false;
    if constexpr (IsByRef<T>()) {
      if (watched_ && !(value_ == before_)) {
        slot = Variant(value_);
        written = true;
      }
    }
  }

 private:
  D value_;
  D before_{};
  bool watched_;
};

// A Variant parameter is the caller's slot itself.
template <>
class Holder<Variant&> {
 public:
  Holder(Variant& slot, const LocaleData& /*loc*/, bool watched) : slot_(slot), watched_(watched) {
    if (watched_) before_ = slot;
  }
  Variant& get() { return slot_; }
  void WriteBack(Variant& /*slot*/, bool& written) { written = watched_ && !(slot_ == before_); }

 private:
  Variant& slot_;
  Variant before_;
  bool watched_;
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
Variant Call(void* self_ptr, std::span<Variant> a, std::span<bool> w, std::index_sequence<I...>) {
  using F = MemFn<decltype(M)>;
  auto* self = static_cast<typename F::Class*>(self_ptr);
  const LocaleData& loc = self->services().locale;
  // From here on `w` says what changed: nothing, until a routine has run.
  [[maybe_unused]] const std::array<bool, sizeof...(I)> watched{w[I]...};
  std::fill(w.begin(), w.end(), false);
  std::tuple<Holder<typename F::template Arg<I>>...> h{
      Holder<typename F::template Arg<I>>(a[I], loc, watched[I])...};
  auto write_back = [&] { (std::get<I>(h).WriteBack(a[I], w[I]), ...); };
  Variant result;
  try {
    if constexpr (std::is_void_v<typename F::Ret>) {
      (self->*M)(std::get<I>(h).get()...);
    } else {
      result = Variant((self->*M)(std::get<I>(h).get()...));
    }
  } catch (...) {
    write_back();
    throw;
  }
  write_back();
  return result;
}

template <auto M>
Variant Thunk(void* self, std::span<Variant> a, std::span<bool> w) {
  using F = MemFn<decltype(M)>;
  return Call<M>(self, a, w, std::make_index_sequence<F::kTypes.size()>{});
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
