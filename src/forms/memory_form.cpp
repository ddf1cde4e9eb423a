// The in-memory host form: what a host without a toolkit (and every test) hands to the walks.
#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/forms.h"

namespace velmora {

namespace {

// Converts a written value to the kind the property keeps; throws before anything is stored.
Variant ToPropertyKind(const Variant& current, const Variant& value, const LocaleData& loc) {
  switch (current.type()) {
    case VarType::kBoolean: return Variant(ToBoolean(value, loc));
    case VarType::kText: return Variant(ToText(value, loc));
    case VarType::kByte: return Variant(ToByte(value, loc));
    case VarType::kInteger: return Variant(ToInteger(value, loc));
    case VarType::kLong: return Variant(ToLong(value, loc));
    case VarType::kDouble: return Variant(ToDouble(value, loc));
    case VarType::kObject:
      if (value.IsEmpty()) return Variant(ObjectRef());
      if (!value.is(VarType::kObject)) throw Error(err::kTypeMismatch);
      return value;
    default: return value;
  }
}

PropertyList FormProperties(const std::u16string& name) {
  return {{u"Caption", Variant(name)},
          {u"Height", Variant(std::int16_t{3600})},
          {u"Width", Variant(std::int16_t{4800})},
          {u"Enabled", Variant(true)},
          {u"Visible", Variant(true)}};
}

// What every visible control of a host form has besides its own properties.
PropertyList WithCommon(PropertyList own) {
  own.emplace_back(u"Enabled", Variant(true));
  own.emplace_back(u"Visible", Variant(true));
  own.emplace_back(u"Height", Variant(std::int16_t{285}));
  own.emplace_back(u"Width", Variant(std::int16_t{1215}));
  return own;
}

}  // namespace

MemoryControl::MemoryControl(std::u16string name, PropertyList properties,
                             std::shared_ptr<const LocaleData> locale)
    : name_(std::move(name)), properties_(std::move(properties)), locale_(std::move(locale)) {}

Variant* MemoryControl::Find(std::u16string_view member) {
  for (auto& [prop, value] : properties_) {
    if (SameName(prop, member)) return &value;
  }
  return nullptr;
}

Variant MemoryControl::Get(std::u16string_view member) {
  if (SameName(member, u"Name")) return Variant(name_);
  const Variant* v = Find(member);
  if (v == nullptr) throw Error(err::kNoMember);
  return *v;
}

void MemoryControl::Set(std::u16string_view member, const Variant& value) {
  if (SameName(member, u"Name")) {
    name_ = ToText(value, *locale_);
    return;
  }
  Variant* v = Find(member);
  if (v == nullptr) throw Error(err::kNoMember);
  *v = ToPropertyKind(*v, value, *locale_);
}

std::vector<ObjectRef> MemoryControl::Controls() { throw Error(err::kNoMember); }

MemoryForm::MemoryForm(std::u16string name, LocaleData locale)
    : MemoryForm(name, FormProperties(name), std::move(locale)) {}

MemoryForm::MemoryForm(std::u16string name, PropertyList properties, LocaleData locale)
    : locale_(std::make_shared<const LocaleData>(std::move(locale))),
      self_(std::move(name), std::move(properties), locale_) {}

Variant MemoryForm::Get(std::u16string_view member) { return self_.Get(member); }

void MemoryForm::Set(std::u16string_view member, const Variant& value) { self_.Set(member, value); }

std::vector<ObjectRef> MemoryForm::Controls() { return {controls_.begin(), controls_.end()}; }

std::shared_ptr<MemoryControl> MemoryForm::Add(std::u16string name, PropertyList properties) {
  controls_.push_back(
      std::make_shared<MemoryControl>(std::move(name), std::move(properties), locale_));
  return controls_.back();
}

std::shared_ptr<MemoryControl> MemoryForm::AddTextBox(std::u16string name, std::u16string text) {
  return Add(std::move(name), WithCommon({{u"Text", Variant(std::move(text))}}));
}

std::shared_ptr<MemoryControl> MemoryForm::AddLabel(std::u16string name, std::u16string caption) {
  return Add(std::move(name), WithCommon({{u"Caption", Variant(std::move(caption))}}));
}

std::shared_ptr<MemoryControl> MemoryForm::AddButton(std::u16string name, std::u16string caption) {
  return Add(std::move(name), WithCommon({{u"Caption", Variant(std::move(caption))}}));
}

std::shared_ptr<MemoryControl> MemoryForm::AddCheckBox(std::u16string name) {
  return Add(std::move(name), WithCommon({{u"Caption", Variant(std::u16string())},
                                          {u"Value", Variant(std::int16_t{0})}}));
}

std::shared_ptr<MemoryControl> MemoryForm::AddOptionButton(std::u16string name) {
  return Add(std::move(name),
             WithCommon({{u"Caption", Variant(std::u16string())}, {u"Value", Variant(false)}}));
}

std::shared_ptr<MemoryControl> MemoryForm::AddImage(std::u16string name) {
  return Add(std::move(name),
             WithCommon({{u"Picture", Variant(ObjectRef())}, {u"Stretch", Variant(false)}}));
}

std::shared_ptr<MemoryControl> MemoryForm::Find(std::u16string_view name) const {
  for (const auto& c : controls_) {
    if (SameName(c->name(), name)) return c;
  }
  return nullptr;
}

}  // namespace velmora
