#include "velmora/dispatch.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <tuple>
#include <utility>

#include "velmora/coerce.h"
#include "velmora/error.h"

namespace velmora {

std::string_view ParamTypeName(ParamType type) {
  switch (type) {
    case ParamType::kNone: return "None";
    case ParamType::kByte: return "Byte";
    case ParamType::kInteger: return "Integer";
    case ParamType::kLong: return "Long";
    case ParamType::kCurrency: return "Currency";
    case ParamType::kDate: return "Date";
    case ParamType::kText: return "String";
    case ParamType::kBoolean: return "Boolean";
    case ParamType::kObject: return "Object";
    case ParamType::kVariant: return "Variant";
  }
  return "Variant";
}

Variant DefaultValue::ToVariant() const {
  switch (kind) {
    case Kind::kBoolean: return Variant(boolean);
    case Kind::kText: return Variant(std::u16string(text));
    case Kind::kNone: break;
  }
  return Variant::Missing();
}

std::vector<const Operation*> OperationsOf(Interface iface) {
  std::vector<const Operation*> out;
  for (const auto& op : Surface()) {
    if (op.iface == iface) out.push_back(&op);
  }
  return out;
}

namespace {

// The table's names folded to capitals and hashed, sorted by hash, for calls by name: a host
// names the routine on every call, so the lookup folds the name once, hashes it on the way and
// binary-searches whole numbers; only the entries of that hash are compared letter by letter.
struct NameEntry {
  Interface iface;
  Kind kind;
  std::uint32_t hash;
  std::u16string folded;
  const Operation* op;
};

// Longer names than this are in no table; they are looked for the slow way all the same.
constexpr std::size_t kMaxFoldedName = 32;

// FNV-1a over the 16-bit units.
constexpr std::uint32_t Hash(std::u16string_view folded) {
  std::uint32_t h = 2166136261u;
  for (char16_t c : folded) h = (h ^ c) * 16777619u;
  return h;
}

char16_t FoldChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  return UpperChar(c);
}

auto Key(const NameEntry& e) { return std::tie(e.iface, e.kind, e.hash); }

const std::vector<NameEntry>& NameIndex() {
  static const std::vector<NameEntry> index = [] {
    std::vector<NameEntry> out;
    for (const auto& op : Surface()) {
      std::u16string folded = UpperCase(op.name);
      const std::uint32_t h = Hash(folded);
      out.push_back({op.iface, op.kind, h, std::move(folded), &op});
    }
    // Stable: of two equal names the first in slot order wins, as in a walk of the table.
    std::stable_sort(out.begin(), out.end(),
                     [](const NameEntry& a, const NameEntry& b) { return Key(a) < Key(b); });
    return out;
  }();
  return index;
}

}  // namespace

const Operation* FindOperation(Interface iface, std::u16string_view name, Kind kind) {
  if (name.size() > kMaxFoldedName) {
    for (const auto& op : Surface()) {
      if (op.iface == iface && op.kind == kind && SameName(op.name, name)) return &op;
    }
    return nullptr;
  }
  std::array<char16_t, kMaxFoldedName> buf{};
  std::transform(name.begin(), name.end(), buf.begin(), FoldChar);
  const std::u16string_view folded(buf.data(), name.size());
  const auto& index = NameIndex();
  const auto key = std::make_tuple(iface, kind, Hash(folded));
  auto it = std::lower_bound(index.begin(), index.end(), key,
                             [](const NameEntry& e, const auto& k) { return Key(e) < k; });
  for (; it != index.end() && Key(*it) == key; ++it) {
    if (it->folded == folded) return it->op;
  }
  return nullptr;
}

std::vector<int> DocumentedErrors(const Operation& op) {
  std::vector<int> out(op.errors.begin(), op.errors.end());
  for (const auto& p : op.params) {
    switch (p.type) {
      case ParamType::kByte:
      case ParamType::kInteger:
      case ParamType::kLong:
      case ParamType::kCurrency:
      case ParamType::kDate:
      // A text reads as a number on its way to True ("1E400" overflows), and a date outside the
      // calendar has no text.
      case ParamType::kBoolean:
      case ParamType::kText:
        out.insert(out.end(), {err::kOverflow, err::kTypeMismatch, err::kInvalidNull});
        break;
      case ParamType::kObject: out.push_back(err::kObjectRequired); break;
      case ParamType::kVariant:
      case ParamType::kNone: break;
    }
  }
  out.insert(out.end(), {err::kNamedArgNotFound, err::kArgNotOptional, err::kWrongArgCount});
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

namespace {

bool MatchesParam(const Param& p, std::u16string_view name) {
  return SameName(p.name, name) || (!p.alias.empty() && SameName(p.alias, name));
}

// The argument slots of one call. Only the operation's own slots are built, each once, straight
// from the caller's value or the parameter's default: every build, copy and destruction of a
// variant is a visit, and a call by name should cost little more than the routine itself.
class Slots {
 public:
  static constexpr std::size_t kMax = 16;
  Slots() = default;
  Slots(const Slots&) = delete;
  Slots& operator=(const Slots&) = delete;
  ~Slots() {
    for (std::size_t k = 0; k < built_; ++k) at(k).~Variant();
  }
  // Builds the next slot; slots are built in order.
  template <typename... A>
  void Build(A&&... a) {
    new (storage_ + built_ * sizeof(Variant)) Variant(std::forward<A>(a)...);
    ++built_;
  }
  Variant& at(std::size_t k) {
    return *std::launder(reinterpret_cast<Variant*>(storage_ + k * sizeof(Variant)));
  }
  Variant* data() { return built_ == 0 ? nullptr : &at(0); }

 private:
  alignas(Variant) std::byte storage_[kMax * sizeof(Variant)];
  std::size_t built_ = 0;
};

}  // namespace

Variant Invoke(void* self, const Operation& op, std::vector<Argument>& args) {
  if (op.binding.fn == nullptr) throw Error(err::kNoMember);
  const std::size_t n = op.params.size();
  if (n > Slots::kMax) throw Error(err::kWrongArgCount);
  // `from` remembers which caller argument went to each parameter.
  std::array<int, Slots::kMax> from{};
  std::array<bool, Slots::kMax> written{};
  from.fill(-1);
  std::size_t next = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::size_t k = 0;
    if (args[i].name.empty()) {
      if (next >= n) throw Error(err::kWrongArgCount);
      k = next++;
    } else {
      k = n;
      for (std::size_t j = 0; j < n; ++j) {
        if (MatchesParam(op.params[j], args[i].name)) k = j;
      }
      if (k == n) throw Error(err::kNamedArgNotFound);
    }
    if (from[k] >= 0) throw Error(err::kWrongArgCount);
    from[k] = static_cast<int>(i);
    args[i].param = op.params[k].name;
  }
  Slots slots;
  for (std::size_t k = 0; k < n; ++k) {
    // An argument passed as missing is the same as one left out.
    if (from[k] >= 0) {
      const Variant& given = args[static_cast<std::size_t>(from[k])].value;
      if (!given.IsMissing()) {
        slots.Build(given);
        written[k] = op.params[k].by_ref;  // the caller's variable: watched for a change
        continue;
      }
    }
    const Param& p = op.params[k];
    if (!p.optional) throw Error(err::kArgNotOptional);
    if (p.type == ParamType::kVariant) {
      // A routine that takes an option as a variant reads a missing one as that option's
      // default (a direct C++ caller passes Missing too), so the default is not built and
      // converted on every call.
      slots.Build(Variant::Missing());
    } else {
      slots.Build(p.default_value.ToVariant());
    }
  }
  auto write_back = [&] {
    for (std::size_t k = 0; k < n; ++k) {
      if (written[k] && from[k] >= 0 && op.params[k].by_ref) {
        auto& a = args[static_cast<std::size_t>(from[k])];
        a.value = std::move(slots.at(k));
        a.written = true;
      }
    }
  };
  Variant result;
  try {
    result = op.binding.fn(self, std::span(slots.data(), n), std::span(written.data(), n));
  } catch (...) {
    write_back();
    throw;
  }
  write_back();
  return result;
}

namespace {

Variant InvokeByName(void* self, Interface iface, std::u16string_view name,
                     std::vector<Argument>& args) {
  const Operation* op = FindOperation(iface, name, Kind::kMethod);
  if (op == nullptr) op = FindOperation(iface, name, Kind::kPropGet);
  if (op == nullptr) throw Error(err::kNoMember);
  return Invoke(self, *op, args);
}

}  // namespace

Variant Invoke(Dolva& self, std::u16string_view name, std::vector<Argument>& args) {
  return InvokeByName(&self, Interface::kDolva, name, args);
}

Variant Invoke(APIs& self, std::u16string_view name, std::vector<Argument>& args) {
  return InvokeByName(&self, Interface::kAPIs, name, args);
}

void PutField(Dolva& self, std::u16string_view name, const Variant& value) {
  const Operation* op = FindOperation(Interface::kDolva, name, Kind::kPropPut);
  if (op == nullptr) op = FindOperation(Interface::kDolva, name, Kind::kPropPutRef);
  if (op == nullptr) throw Error(err::kNoMember);
  std::vector<Argument> args(1);
  args[0].value = value;
  Invoke(&self, *op, args);
}

}  // namespace velmora
