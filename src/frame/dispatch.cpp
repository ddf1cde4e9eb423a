#include "velmora/dispatch.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>
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

// The longest name the index holds; building it fails on a longer one.
constexpr std::size_t kMaxName = 32;

// Four characters of a name in a 64-bit word, folded as the automation runtime compares names
// (UpperChar): plain ASCII letters all four at once, as a lane holding 'a' to 'z' loses 0x20
// and lanes stay below 0x100, so no carry crosses into the next one. The names of the table are
// ASCII and no other character folds to ASCII, so four characters with one outside ASCII match
// no name: they fold to a word no name has.
std::uint64_t Fold(std::uint64_t quad) {
  constexpr std::uint64_t kLanes = 0x0001000100010001ULL;
  if ((quad & (kLanes * 0xFF80)) != 0) return ~std::uint64_t{0};
  const std::uint64_t from_a = quad + kLanes * (0x80 - u'a');      // lane >= 0x80 from 'a' on
  const std::uint64_t past_z = quad + kLanes * (0x80 - u'z' - 1);  // lane >= 0x80 past 'z'
  return quad - ((from_a & ~past_z & (kLanes * 0x80)) >> 2);
}

std::uint64_t Quad(const char16_t* c) {
  std::uint64_t quad = 0;
  std::memcpy(&quad, c, sizeof quad);
  return quad;
}

// The last four characters of a name, or all of a shorter one with zeros after them.
std::uint64_t LastQuad(std::u16string_view name) {
  if (name.size() >= 4) return Quad(name.data() + name.size() - 4);
  std::uint64_t quad = 0;
  for (std::size_t i = 0; i < name.size(); ++i)
    quad |= static_cast<std::uint64_t>(name[i]) << (16 * i);
  return quad;
}

// The members of both interfaces and an open-addressing table over their names. A name is
// looked up on every call by name, so its bucket comes from its length and four of its letters,
// and the candidates there are compared four characters at a time.
class NameIndex {
 public:
  NameIndex() {
    const auto ops = Surface();
    dolva_.reserve(ops.size());
    apis_.reserve(ops.size());
    for (const Operation& op : ops) {
      if (op.name.empty() || op.name.size() > kMaxName) throw std::logic_error("name too long");
      for (const char16_t c : op.name) {
        if (c >= 0x80) throw std::logic_error("names are ASCII");
      }
      const Member* found = Find(op.iface, op.name);
      auto& members = op.iface == Interface::kDolva ? dolva_ : apis_;
      if (found == nullptr) {
        members.push_back(Member{op.iface, op.name, static_cast<int>(members.size()) + 1, {}});
        Insert(members.back());
        found = &members.back();
      }
      // Of two entries of one kind and name, the first in slot order is the one found.
      auto& entry = members[static_cast<std::size_t>(found->number - 1)]
                        .entries[static_cast<std::size_t>(op.kind)];
      if (entry == nullptr) entry = &op;
    }
  }

  std::span<const Member> Of(Interface iface) const {
    return iface == Interface::kDolva ? dolva_ : apis_;
  }

  const Member* Find(Interface iface, std::u16string_view name) const {
    if (name.empty() || name.size() > kMaxName) return nullptr;
    for (std::size_t b = Bucket(iface, name);; b = (b + 1) % kBuckets) {
      const Slot& slot = slots_[b];
      if (slot.member == nullptr) return nullptr;
      if (slot.size == name.size() && slot.member->iface == iface &&
          (SameSpelling(slot, name) || SameFolded(slot, name)))
        return slot.member;
    }
  }

 private:
  // More than three times the members, so that a name's bucket is nearly always its own.
  static constexpr std::size_t kBuckets = 256;
  struct Slot {
    const Member* member = nullptr;
    std::size_t size = 0;
    // Four characters a word: the whole words from the start, then the last four characters
    // (or all of a shorter name, zeros after them); as spelled, and folded.
    std::array<std::uint64_t, kMaxName / 4> leading{};
    std::uint64_t last = 0;
    std::array<std::uint64_t, kMaxName / 4> folded_leading{};
    std::uint64_t folded_last = 0;
  };

  // Letters only lose their case bit here, which keeps names that fold alike together. Shifts
  // and exclusive ors rather than a multiplication: the bucket is on the path of every call by
  // name. Over the table's names a bucket holds 1.2 names on average.
  static std::size_t Bucket(Interface iface, std::u16string_view name) {
    const std::size_t n = name.size();
    const std::size_t first = name[0] & 0xFFDF;
    const std::size_t second = n > 1 ? name[1] & 0xFFDF : 0;
    const std::size_t middle = name[n / 2] & 0xFFDF;
    const std::size_t last = name[n - 1] & 0xFFDF;
    return ((n << 4) ^ first ^ (second << 3) ^ (middle << 2) ^ (last << 1) ^
            (static_cast<std::size_t>(iface) << 7)) %
           kBuckets;
  }

  // Whether a name of the slot's size is spelled as the slot's name, letter case included: a
  // host nearly always spells a name as the table does, and then no letter needs folding.
  static bool SameSpelling(const Slot& slot, std::u16string_view name) {
    if (LastQuad(name) != slot.last) return false;
    for (std::size_t q = 0; q < name.size() / 4; ++q) {
      if (Quad(name.data() + 4 * q) != slot.leading[q]) return false;
    }
    return true;
  }

  // Whether a name of the slot's size is the slot's name in other letter case.
  static bool SameFolded(const Slot& slot, std::u16string_view name) {
    if (Fold(LastQuad(name)) != slot.folded_last) return false;
    for (std::size_t q = 0; q < name.size() / 4; ++q) {
      if (Fold(Quad(name.data() + 4 * q)) != slot.folded_leading[q]) return false;
    }
    return true;
  }

  void Insert(const Member& m) {
    if (dolva_.size() + apis_.size() > kBuckets / 3) throw std::logic_error("index too small");
    std::size_t b = Bucket(m.iface, m.name);
    while (slots_[b].member != nullptr) b = (b + 1) % kBuckets;
    Slot& slot = slots_[b];
    slot.member = &m;
    slot.size = m.name.size();
    slot.last = LastQuad(m.name);
    slot.folded_last = Fold(slot.last);
    for (std::size_t q = 0; q < m.name.size() / 4; ++q) {
      slot.leading[q] = Quad(m.name.data() + 4 * q);
      slot.folded_leading[q] = Fold(slot.leading[q]);
    }
  }

  std::vector<Member> dolva_;
  std::vector<Member> apis_;
  std::array<Slot, kBuckets> slots_{};
};

const NameIndex& Index() {
  static const NameIndex index;
  return index;
}

}  // namespace

std::span<const Member> MembersOf(Interface iface) { return Index().Of(iface); }

const Member* FindMember(Interface iface, std::u16string_view name) {
  static const NameIndex& index = Index();
  return index.Find(iface, name);
}

const Operation* FindOperation(Interface iface, std::u16string_view name, Kind kind) {
  const Member* m = FindMember(iface, name);
  return m == nullptr ? nullptr : m->entry(kind);
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

constexpr std::size_t kMaxParams = 16;

}  // namespace

Variant Invoke(void* self, const Operation& op, std::vector<Argument>& args) {
  if (op.binding.fn == nullptr) throw Error(err::kNoMember);
  const std::size_t n = op.params.size();
  if (n > kMaxParams) throw Error(err::kWrongArgCount);
  // The caller's argument and variable of each parameter below `count`, null for one left
  // out; the parameters from `count` on are all left out.
  std::array<Argument*, kMaxParams> from;
  std::array<Variant*, kMaxParams> given;
  std::size_t count = 0;
  std::size_t next = 0;
  for (Argument& a : args) {
    std::size_t k = 0;
    if (a.name.empty()) {
      if (next >= n) throw Error(err::kWrongArgCount);
      k = next++;
    } else {
      k = n;
      for (std::size_t j = 0; j < n; ++j) {
        if (MatchesParam(op.params[j], a.name)) k = j;
      }
      if (k == n) throw Error(err::kNamedArgNotFound);
    }
    for (; count <= k; ++count) {
      from[count] = nullptr;
      given[count] = nullptr;
    }
    if (from[k] != nullptr) throw Error(err::kWrongArgCount);
    from[k] = &a;
    given[k] = &a.value;
    a.param = op.params[k].name;
  }
  std::array<bool, kMaxParams> changed{};
  auto report = [&] {
    for (std::size_t k = 0; k < count; ++k) {
      if (changed[k]) from[k]->written = true;
    }
  };
  Variant result = [&] {
    try {
      return op.binding.fn(self, op, given.data(), count, changed.data());
    } catch (...) {
      report();
      throw;
    }
  }();
  report();
  return result;
}

Variant Invoke(void* self, const Operation& op, std::span<Variant> args, std::span<bool> changed) {
  if (op.binding.fn == nullptr) throw Error(err::kNoMember);
  const std::size_t n = op.params.size();
  if (n > kMaxParams || args.size() > n) throw Error(err::kWrongArgCount);
  std::array<Variant*, kMaxParams> given;
  for (std::size_t k = 0; k < args.size(); ++k) given[k] = &args[k];
  std::array<bool, kMaxParams> written{};
  auto report = [&] {
    for (std::size_t k = 0; k < changed.size() && k < args.size(); ++k) changed[k] = written[k];
  };
  Variant result = [&] {
    try {
      return op.binding.fn(self, op, given.data(), args.size(), written.data());
    } catch (...) {
      report();
      throw;
    }
  }();
  report();
  return result;
}

namespace {

Variant InvokeByName(void* self, Interface iface, std::u16string_view name,
                     std::vector<Argument>& args) {
  const Member* m = FindMember(iface, name);
  const Operation* op = m == nullptr ? nullptr : m->entry(Kind::kMethod);
  if (op == nullptr && m != nullptr) op = m->entry(Kind::kPropGet);
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
  const Member* m = FindMember(Interface::kDolva, name);
  const Operation* op = m == nullptr ? nullptr : m->entry(Kind::kPropPut);
  if (op == nullptr && m != nullptr) op = m->entry(Kind::kPropPutRef);
  if (op == nullptr) throw Error(err::kNoMember);
  std::vector<Argument> args(1);
  args[0].value = value;
  Invoke(&self, *op, args);
}

}  // namespace velmora
