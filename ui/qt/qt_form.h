// Host forms made of Qt widgets: a QWidget form whose child widgets are its controls, reached
// by name as the library's form routines reach every host form.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "velmora/host.h"
#include "velmora/locale.h"

namespace velmora::qt {

// One registered child widget of a QtForm. Its "Name" is the widget's objectName; its other
// members are the library's property names that the widget's kind carries (see QtForm).
class QtControl final : public HostObject {
 public:
  QtControl(QWidget* widget, std::shared_ptr<const LocaleData> locale, bool is_form = false);

  Variant Get(std::u16string_view member) override;
  void Set(std::u16string_view member, const Variant& value) override;
  // A control holds no controls: 438.
  std::vector<ObjectRef> Controls() override;

  // The widget, or null once Qt destroyed it.
  QWidget* widget() const { return widget_; }

 private:
  QPointer<QWidget> widget_;
  std::shared_ptr<const LocaleData> locale_;
  bool is_form_;
  ObjectRef picture_;  // the picture last given to "Picture", handed back on reading
};

// A QWidget form as a host form. The form keeps its own ordered list of controls (Qt's child
// order follows the stacking order and holds the widgets' own inner children): a control is
// what was registered, in the order it was registered.
//
// Property names by kind of widget (a name a kind does not carry is 438, read or written; no
// Qt property is ever created on a widget):
//   every control     Name (objectName), Enabled, Visible, Height, Width, Top, Left, ToolTipText
//   QLineEdit         Text                    QTextEdit, QPlainTextEdit  Text (plain text)
//   QComboBox         Text, ListIndex         QCheckBox   Caption, Value (0, 1, 2 = grey)
//   QRadioButton      Caption, Value (Boolean)  other buttons  Caption
//   QLabel            Caption, Picture (a QtPicture or Nothing), Stretch (scaled contents)
//   QGroupBox         Caption                 QSpinBox, QAbstractSlider, QProgressBar  Value
//   the form          Name, Caption (window title), Enabled, Visible, Height, Width, Top, Left
// Heights, widths and positions are the widget's own pixels.
//   auto form = std::make_shared<QtForm>(window);
//   form->AddNamedChildren();                  // every named child, in creation order
//   dolva.Limpia_Textos(u"txt", form);         // empties the QLineEdits named "txt..."
class QtForm final : public HostObject {
 public:
  explicit QtForm(QWidget* form, LocaleData locale = SpanishMexico());

  Variant Get(std::u16string_view member) override;
  void Set(std::u16string_view member, const Variant& value) override;
  std::vector<ObjectRef> Controls() override;

  // Registers a widget of the form as its next control; a widget already registered keeps its
  // place. Returns the control.
  ObjectRef Add(QWidget* control);
  // Registers every descendant widget with an objectName (Qt's internal children, named "qt_...",
  // excepted) that is not registered yet, in Qt's child order at the time of the call (the order
  // of creation unless the stacking was changed before). Call it once the form is built.
  void AddNamedChildren();

  QWidget* widget() const { return self_.widget(); }

 private:
  std::shared_ptr<const LocaleData> locale_;
  QtControl self_;
  std::vector<std::shared_ptr<QtControl>> controls_;
};

}  // namespace velmora::qt
