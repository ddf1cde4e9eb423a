// Host objects reached by name: a host's form and its controls, and the dialogs the library
// shows on the host's behalf.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "velmora/variant.h"

namespace velmora {

// A host object (a form or one of its controls) whose members are reached only by name, as an
// automation client reaches them. Names ignore case. A member the object does not have is the
// runtime error 438, whether read or written; writing never creates a member.
class HostObject : public Object {
 public:
  // Reads a property ("Name", "Text", "Enabled", "Value", "Height"...).
  virtual Variant Get(std::u16string_view member) = 0;
  // Writes a property; a value the property cannot take is 13.
  virtual void Set(std::u16string_view member, const Variant& value) = 0;
  // The members of the "Controls" collection in the form's own order; 438 for an object that
  // has no such collection.
  virtual std::vector<ObjectRef> Controls() = 0;
};

// A picture loaded for a host form's image box (its "Picture" property). Each form runtime
// derives its own kind (a Qt image, a Windows picture object) and its forms accept that kind;
// the core only passes the reference along.
class Picture : public Object {};

// Loads pictures by their content, never by their file name's extension.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // The picture in the file; 481 when the file holds no picture the runtime can read.
  virtual ObjectRef Load(const std::u16string& path) = 0;
};

// The host object behind a variant's object reference; 424 when the value is not an object,
// 438 when the object cannot be reached by name.
HostObject& AsHostObject(const ObjectRef& object);

// The icon of a message box.
enum class MsgIcon { kNone, kCritical, kQuestion, kExclamation, kInformation };
// The buttons of a message box, as the automation runtime numbers them.
enum class MsgButtons {
  kOk = 0,
  kOkCancel = 1,
  kAbortRetryIgnore = 2,
  kYesNoCancel = 3,
  kYesNo = 4,
  kRetryCancel = 5
};
// The button that closed a message box, as the automation runtime numbers them.
enum class MsgResult {
  kOk = 1,
  kCancel = 2,
  kAbort = 3,
  kRetry = 4,
  kIgnore = 5,
  kYes = 6,
  kNo = 7
};

// The buttons of a box in the order it shows them: kYesNoCancel -> Yes, No, Cancel.
std::vector<MsgResult> ButtonsOf(MsgButtons buttons);
// The button a box takes when nobody answers it: the one that lets nothing happen. OK for a box
// that only informs, No for a Yes/No question, Cancel where there is one, Abort otherwise.
MsgResult DefaultButton(MsgButtons buttons);
// The label of a button as a box shows it: ButtonLabel(MsgResult::kYes) == u"Sí".
std::u16string_view ButtonLabel(MsgResult button);
// A box as lines of text, as a box answered without a window reports it: "== title (icon) ==",
// the text with each line break as "\n", then "Botones:  1) Aceptar  2) Cancelar" and "\n".
std::u16string DescribeBox(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                           MsgButtons buttons);

// The closing control of a window that only its close box closes, as an unattended run names it.
inline constexpr std::u16string_view kCloseBox = u"el cuadro de cierre";
// The report of a library window that an unattended run closes by its own closing control, as
// lines of text for the standard error, alike on every face:
// DescribeUnattendedClose(u"frmSplashSys", u"&Salir") ==
//   u"== frmSplashSys (ventana) ==\n(desatendido, se cierra con: &Salir)".
std::u16string DescribeUnattendedClose(std::u16string_view window, std::u16string_view control);

// A modal message box: shows the text and waits for a button.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                         MsgButtons buttons) = 0;
};

// Lets the host's pending window events run (between the steps of an animation, while a
// modal window is open).
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void ProcessPending() = 0;
};

}  // namespace velmora
