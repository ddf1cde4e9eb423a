#include "qt/qt_form.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <array>
#include <limits>

#include "qt/qt_picture.h"
#include "velmora/coerce.h"
#include "velmora/error.h"

namespace velmora::qt {

namespace {

// How a library value becomes the Qt property's value and back.
enum class Conv {
  kText,        // QString
  kBool,        // bool
  kInt,         // int
  kCheckState,  // QCheckBox::checkState (not a Qt property), see ToCheckState
  kHeight,      // the height of "size"
  kWidth,       // the width of "size"
  kTop,         // the y of "pos"
  kLeft,        // the x of "pos"
  kPicture,     // "pixmap" from a QtPicture
};

struct Mapping {
  const char* kind;  // the Qt class the entry applies to (and its subclasses)
  std::u16string_view name;
  const char* qt;  // the Qt property
  Conv conv;
};

// The first entry whose kind the widget inherits and whose name matches wins, so the specific
// kinds come before QWidget. A label or a button has no "Text": a host form's label shows a
// "Caption", and a text write on it is a mistake the caller must hear about.
constexpr std::array kControlMap{
    Mapping{"QLineEdit", u"Text", "text", Conv::kText},
    Mapping{"QTextEdit", u"Text", "plainText", Conv::kText},
    Mapping{"QPlainTextEdit", u"Text", "plainText", Conv::kText},
    Mapping{"QComboBox", u"Text", "currentText", Conv::kText},
    Mapping{"QComboBox", u"ListIndex", "currentIndex", Conv::kInt},
    Mapping{"QCheckBox", u"Value", "checked", Conv::kCheckState},
    Mapping{"QRadioButton", u"Value", "checked", Conv::kBool},
    Mapping{"QAbstractButton", u"Caption", "text", Conv::kText},
    Mapping{"QLabel", u"Caption", "text", Conv::kText},
    Mapping{"QLabel", u"Picture", "pixmap", Conv::kPicture},
    Mapping{"QLabel", u"Stretch", "scaledContents", Conv::kBool},
    Mapping{"QGroupBox", u"Caption", "title", Conv::kText},
    Mapping{"QSpinBox", u"Value", "value", Conv::kInt},
    Mapping{"QAbstractSlider", u"Value", "value", Conv::kInt},
    Mapping{"QProgressBar", u"Value", "value", Conv::kInt},
    Mapping{"QWidget", u"Name", "objectName", Conv::kText},
    Mapping{"QWidget", u"Enabled", "enabled", Conv::kBool},
    Mapping{"QWidget", u"Visible", "visible", Conv::kBool},
    Mapping{"QWidget", u"Height", "size", Conv::kHeight},
    Mapping{"QWidget", u"Width", "size", Conv::kWidth},
    Mapping{"QWidget", u"Top", "pos", Conv::kTop},
    Mapping{"QWidget", u"Left", "pos", Conv::kLeft},
    Mapping{"QWidget", u"ToolTipText", "toolTip", Conv::kText},
};

constexpr std::array kFormMap{
    Mapping{"QWidget", u"Name", "objectName", Conv::kText},
    Mapping{"QWidget", u"Caption", "windowTitle", Conv::kText},
    Mapping{"QWidget", u"Enabled", "enabled", Conv::kBool},
    Mapping{"QWidget", u"Visible", "visible", Conv::kBool},
    Mapping{"QWidget", u"Height", "size", Conv::kHeight},
    Mapping{"QWidget", u"Width", "size", Conv::kWidth},
    Mapping{"QWidget", u"Top", "pos", Conv::kTop},
    Mapping{"QWidget", u"Left", "pos", Conv::kLeft},
};

const Mapping* FindMapping(const QWidget& w, std::u16string_view name, bool is_form) {
  const auto match = [&](const auto& table) -> const Mapping* {
    for (const Mapping& m : table) {
      if (SameName(m.name, name) && w.inherits(m.kind)) return &m;
    }
    return nullptr;
  };
  return is_form ? match(kFormMap) : match(kControlMap);
}

// The Qt property behind a mapping, checked on the widget's own class: the write goes through
// QMetaProperty, which never adds a dynamic property the way QObject::setProperty does.
QMetaProperty PropertyOf(const QWidget& w, const Mapping& m) {
  const QMetaObject* meta = w.metaObject();
  const int index = meta->indexOfProperty(m.qt);
  if (index < 0) throw Error(err::kNoMember);
  return meta->property(index);
}

Variant WholeNumber(int n) {
  if (n >= std::numeric_limits<std::int16_t>::min() &&
      n <= std::numeric_limits<std::int16_t>::max())
    return Variant(static_cast<std::int16_t>(n));
  return Variant(static_cast<std::int32_t>(n));
}

// A host's check box counts 0 unchecked, 1 checked, 2 grey; Qt puts the grey state in between.
Qt::CheckState ToCheckState(std::int16_t value) {
  return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}
int FromCheckState(Qt::CheckState state) {
  return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

int ToInt(const Variant& v, const LocaleData& loc) { return ToLong(v, loc); }

QString ToQString(const std::u16string& s) { return QString::fromStdU16String(s); }

}  // namespace

QtControl::QtControl(QWidget* widget, std::shared_ptr<const LocaleData> locale, bool is_form)
    : widget_(widget), locale_(std::move(locale)), is_form_(is_form) {}

Variant QtControl::Get(std::u16string_view member) {
  if (widget_ == nullptr) throw Error(err::kNoMember);
  const Mapping* m = FindMapping(*widget_, member, is_form_);
  if (m == nullptr) throw Error(err::kNoMember);
  const QMetaProperty p = PropertyOf(*widget_, *m);
  const QVariant v = p.read(widget_);
  switch (m->conv) {
    case Conv::kText: return Variant(v.toString().toStdU16String());
    case Conv::kBool: return Variant(v.toBool());
    case Conv::kInt: return WholeNumber(v.toInt());
    case Conv::kCheckState:
      return WholeNumber(FromCheckState(qobject_cast<QCheckBox*>(widget_)->checkState()));
    case Conv::kHeight: return WholeNumber(v.toSize().height());
    case Conv::kWidth: return WholeNumber(v.toSize().width());
    case Conv::kTop: return WholeNumber(v.toPoint().y());
    case Conv::kLeft: return WholeNumber(v.toPoint().x());
    case Conv::kPicture: return Variant(picture_);
  }
  return {};
}

void QtControl::Set(std::u16string_view member, const Variant& value) {
  if (widget_ == nullptr) throw Error(err::kNoMember);
  const Mapping* m = FindMapping(*widget_, member, is_form_);
  if (m == nullptr) throw Error(err::kNoMember);
  const QMetaProperty p = PropertyOf(*widget_, *m);
  if (!p.isWritable()) throw Error(err::kNoMember);
  const LocaleData& loc = *locale_;
  // Every conversion happens before the write, so a value the property cannot take leaves the
  // widget as it was.
  QVariant qv;
  ObjectRef picture;
  switch (m->conv) {
    case Conv::kText: qv = ToQString(ToText(value, loc)); break;
    case Conv::kBool: qv = ToBoolean(value, loc); break;
    case Conv::kInt: qv = ToInt(value, loc); break;
    case Conv::kCheckState: {
      const std::int16_t state = ToInteger(value, loc);
      if (state < 0 || state > 2) throw Error(err::kTypeMismatch);
      qv = QVariant::fromValue(ToCheckState(state));
      break;
    }
    case Conv::kHeight:
    case Conv::kWidth: {
      QSize size = p.read(widget_).toSize();
      const int n = ToInt(value, loc);
      if (m->conv == Conv::kHeight) size.setHeight(n);
      else size.setWidth(n);
      qv = size;
      break;
    }
    case Conv::kTop:
    case Conv::kLeft: {
      QPoint pos = p.read(widget_).toPoint();
      const int n = ToInt(value, loc);
      if (m->conv == Conv::kTop) pos.setY(n);
      else pos.setX(n);
      qv = pos;
      break;
    }
    case Conv::kPicture: {
      // Nothing clears the box; any other value must be a picture of this runtime.
      if (!value.IsEmpty() && !value.is(VarType::kObject)) throw Error(err::kTypeMismatch);
      if (!value.IsEmpty()) picture = value.object();
      if (picture && dynamic_cast<const QtPicture*>(picture.get()) == nullptr)
        throw Error(err::kTypeMismatch);
      qv = QVariant::fromValue(picture ? QPixmap::fromImage(ImageOf(picture)) : QPixmap());
      break;
    }
  }
  if (m->conv == Conv::kCheckState) {
    qobject_cast<QCheckBox*>(widget_)->setCheckState(qv.value<Qt::CheckState>());
    return;
  }
  if (!p.write(widget_, qv)) throw Error(err::kTypeMismatch);
  if (m->conv == Conv::kPicture) picture_ = std::move(picture);
}

std::vector<ObjectRef> QtControl::Controls() { throw Error(err::kNoMember); }

QtForm::QtForm(QWidget* form, LocaleData locale)
    : locale_(std::make_shared<const LocaleData>(std::move(locale))),
      self_(form, locale_, /*is_form=*/true) {}

Variant QtForm::Get(std::u16string_view member) { return self_.Get(member); }

void QtForm::Set(std::u16string_view member, const Variant& value) { self_.Set(member, value); }

std::vector<ObjectRef> QtForm::Controls() {
  if (self_.widget() == nullptr) throw Error(err::kNoMember);
  std::vector<ObjectRef> out;
  for (const auto& c : controls_) {
    if (c->widget() != nullptr) out.push_back(c);
  }
  return out;
}

ObjectRef QtForm::Add(QWidget* control) {
  for (const auto& c : controls_) {
    if (c->widget() == control) return c;
  }
  controls_.push_back(std::make_shared<QtControl>(control, locale_));
  return controls_.back();
}

void QtForm::AddNamedChildren() {
  if (self_.widget() == nullptr) return;
  for (QWidget* child : self_.widget()->findChildren<QWidget*>()) {
    const QString name = child->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
    Add(child);
  }
}

}  // namespace velmora::qt
