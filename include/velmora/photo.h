// User photographs: the stored photo of a name, shown on a host form, and the capture window
// that takes a photo from a camera or picks an existing picture file.
//
// The photo folder. Fotografia looks for a user's photo in one fixed folder, the same for every
// caller: the folder "Ponderix/Fotos" at the root of the disk. On Windows that is
// "\Ponderix\Fotos\" on the current drive; on Linux, which has one tree and no drives, it is
// "/Ponderix/Fotos/". A host that passes "/Ponderix/Fotos" to PhotoWay stores its photos exactly
// where Fotografia finds them. Like the Windows folder at a drive's root it is shared by every
// user of the machine, so the host's installation creates it once, writable by the group of the
// host's users (install -d -m 2775 -g <group> /Ponderix/Fotos); a missing folder only means that
// no photo is found.
//
// Names ignore case. On Windows the disk itself does; on a case-sensitive disk every search and
// every save of this family matches each folder and file name ignoring case, so "JUAN.Jpg",
// "juan.jpg" and "/ponderix/fotos/" all find what "/Ponderix/Fotos/JUAN.jpg" names. This matters
// because PhotoWay upper-cases the folder it is given.
//
// A photo name is a name, never a path. The name a host passes, or a user types into the capture
// window, is joined to a folder; a name that could climb out of that folder ("../../otro/X",
// "..\X", "C:X", "\\servidor\recurso"), stand for several files ("*", "J?AN"), reach a stream
// ("X:flujo") or a device of Windows ("CON", "NUL", "COM1") is refused before the disk is
// touched: PhotoWay's window says so and saves nothing, Fotografia finds no photo. Every search
// compares names character by character, case ignored; no character is a wildcard.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "velmora/error.h"
#include "velmora/host.h"
#include "velmora/services.h"

namespace velmora {

// ---------------------------------------------------------------------------------------------
// The per-thread photo state, shared by every Dolva on the thread and by the capture window.

struct PhotoState {
  std::u16string name;    // gsPhotoName: the name a new photo is stored under (set by PhotoWay)
  std::u16string folder;  // gsPhotoFolder: the folder it is stored in (set by PhotoWay)
  std::u16string path;    // gsPhotoPath: what the capture window settled on; never cleared
};

// The calling thread's photo state, empty texts on first use.
PhotoState& ThreadPhotoState();

// ---------------------------------------------------------------------------------------------
// Files

enum class EntryKind : std::uint8_t { kFile, kFolder, kOther };

// One entry of a folder listing.
struct DirEntry {
  std::u16string name;
  EntryKind kind = EntryKind::kFile;
  bool hidden = false;  // hidden or system entries, never matched by a search
};

// The disk as the photo family sees it.
class PhotoFileSystem {
 public:
  virtual ~PhotoFileSystem() = default;
  // The folder separator of the platform's paths: '/' on Linux, '\' on Windows.
  virtual char16_t Separator() const = 0;
  // The entries of a folder in the order the system lists them; nullopt when the folder cannot
  // be listed (missing, not a folder). An empty text is the current folder.
  virtual std::optional<std::vector<DirEntry>> List(const std::u16string& folder) = 0;
  // Writes the file whole or not at all, replacing any file already at the path. Raises Error
  // (with a sentence for the user) on failure; a file that was there before is then untouched.
  virtual void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) = 0;
  // The path spelled as on disk: each folder and the file name that matches an entry ignoring
  // case takes the entry's spelling (an exact match first); the rest stays as given.
  // On a disk that ignores case itself this may return the path unchanged.
  virtual std::u16string Resolve(const std::u16string& path);
};

// What keeps a text from being a photo name; kNone for a plain name.
enum class PhotoNameFault : std::uint8_t {
  kNone,
  kEmpty,       // nothing but blanks
  kTooLong,     // more than kMaxPhotoName characters
  kSeparator,   // '/' or '\': a path, not a name
  kReserved,    // ':' '*' '?' '"' '<' '>' '|': a drive, a stream or a pattern
  kControl,     // U+0000 to U+001F or U+007F
  kBrokenText,  // half of a surrogate pair: no file name could spell it
  kDots,        // "." or "..", or a name that begins or ends with a dot
  kDevice,      // a device of Windows, alone or with an extension: "CON", "nul.x", "COM1"
  kShortName,   // the shape of a short name of Windows, "PEDRO~1", which may be another file
};

// The longest photo name, in 16-bit characters: with ".jpg" it stays within the 255 of a file
// name on Windows, and of a plain name on Linux (accented letters take two bytes there).
inline constexpr std::size_t kMaxPhotoName = 200;

// Whether a text is a photo name, taken as PhotoWay takes a name: blanks at both ends removed,
// upper-cased. It is when it is not empty, at most kMaxPhotoName characters, and a plain file
// name on both Linux and Windows: no '/' '\' ':' '*' '?' '"' '<' '>' '|', no control character,
// not "." or "..", no dot at either end (Windows drops a trailing one, Linux hides a file that
// starts with one), not a device of Windows (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9,
// COM and LPT with the superscripts ¹ ² ³, CONIN$, CONOUT$; also before a dot or blanks, as in
// "CON.X" or "NUL .jpg"), and not shaped as a Windows short name (at most eight characters, no
// dot, a '~' followed by a digit). CheckPhotoName(u" juan pérez ") == PhotoNameFault::kNone;
// CheckPhotoName(u"../x") == PhotoNameFault::kSeparator; CheckPhotoName(u"com1") ==
// PhotoNameFault::kDevice.
PhotoNameFault CheckPhotoName(std::u16string_view name);
inline bool IsPhotoName(std::u16string_view name) {
  return CheckPhotoName(name) == PhotoNameFault::kNone;
}
// Why a name was refused, in Spanish, as it follows "El nombre de la fotografía no es válido: "
// in the capture window's message: u"lleva / o \\, que separan carpetas" for kSeparator; empty
// for kNone.
std::u16string_view PhotoNameFaultText(PhotoNameFault fault);

// Whether a file is the photo of a name: its name is the photo name itself or the photo name, a
// dot and any extension, case ignored, every character taken as itself.
// IsPhotoOf(u"juan.JPG", u"JUAN") and IsPhotoOf(u"JUAN", u"JUAN") are true;
// IsPhotoOf(u"JUANA.jpg", u"JUAN") and IsPhotoOf(u"JUAN.jpg", u"J?AN") are false.
bool IsPhotoOf(std::u16string_view file, std::u16string_view name);

// The name (without folder) of the first ordinary, visible file of the folder that is the photo
// of the name, in listing order; empty when there is none, the folder is missing, or the name is
// no photo name (the disk is then not looked at).
// FindPhoto(fs, u"/Ponderix/Fotos/", u"juan") == u"JUAN.jpg".
std::u16string FindPhoto(PhotoFileSystem& fs, std::u16string_view folder, std::u16string_view name);

// The directory search for one path: the name of the ordinary, visible file of the path's folder
// whose name is the path's last part, case ignored and nothing else (the exact spelling first,
// as FindByName settles it); empty when there is none.
// Only that folder is listed (and, to spell it as on disk, the folders on its way).
// FindFile(fs, u"/FOTOS/juan.jpg") == u"JUAN.jpg"; FindFile(fs, u"/FOTOS/J*.jpg") == u"".
std::u16string FindFile(PhotoFileSystem& fs, std::u16string_view path);

// Folder, then the separator unless the folder already ends in one, then the name and the
// extension: JoinPhotoPath(u"/FOTOS", u"JUAN", u".jpg", u'/') == u"/FOTOS/JUAN.jpg"; an empty
// folder gives a path at the root, u"/JUAN.jpg".
std::u16string JoinPhotoPath(std::u16string_view folder, std::u16string_view name,
                             std::u16string_view extension, char16_t separator);

// The fixed photo folder with the platform's separator: u"/Ponderix/Fotos/" for '/'.
std::u16string PhotoFolder(char16_t separator);

// Turns a picture into the bytes of a Windows bitmap file (file header, information header,
// pixels). Raises Error when the reference holds no picture it can write.
class BitmapEncoder {
 public:
  virtual ~BitmapEncoder() = default;
  virtual std::vector<std::uint8_t> BitmapFile(const ObjectRef& picture) = 0;
};

// ---------------------------------------------------------------------------------------------
// Camera and dialogs of the capture window

// The first camera of the system. Every failure is silent: a camera that cannot be connected
// just delivers no frame, which is the normal case on a machine without one.
class Camera {
 public:
  virtual ~Camera() = default;
  virtual void Connect() = 0;
  // The newest frame as a picture, or an empty reference when there is none. The same reference
  // comes back until a newer frame arrives, so a window redraws only when something changed.
  virtual ObjectRef Grab() = 0;
  virtual void Release() = 0;
};

// The open-file dialog.
class FileDialog {
 public:
  virtual ~FileDialog() = default;
  // The full path the user chose, or empty text when the dialog was cancelled. The filter is
  // in the runtime's form, descriptions and pattern lists separated by "|", patterns by ";":
  // u"Fotografías |*.Jpg;*.Bmp". Raises Error when no dialog can be shown.
  virtual std::u16string OpenFile(std::u16string_view title, std::u16string_view filter,
                                  std::u16string_view initial_name) = 0;
};

// The errors of a capture window and of an open-file dialog asked for where no display is
// available (5), the same whichever part of the platform finds that out.
Error NoCaptureWindowError();
Error NoFileDialogError();

class CaptureWindow;

// Shows capture windows for PhotoWay.
class CaptureWindowHost {
 public:
  virtual ~CaptureWindowHost() = default;
  // Shows the window of the model modally and returns once it has closed, at the model's
  // request (CaptureWindow::closing) or by its close box. Raises Error when no window can be
  // shown (no display).
  virtual void ShowModal(CaptureWindow& window) = 0;
};

// ---------------------------------------------------------------------------------------------
// The capture window FrmTomaFoto, free of any toolkit: what each control shows and what each
// user action does. A view builds the widgets, forwards the user's actions to these methods and
// copies the figures back into its widgets after each of them.

enum class PhotoSource : std::uint8_t { kNone, kWebcam, kFile };

// Where each control of the window lies, in twips of the client area, of its frame (Frame1,
// Frame2) or of the selection panel (Frame3): the same for every view.
struct ControlPlace {
  int x, y, w, h;
};
namespace capture_layout {
inline constexpr ControlPlace kFrame1{60, 30, 8580, 4950};
inline constexpr ControlPlace kLabel3{120, 180, 4125, 240};
inline constexpr ControlPlace kPicture1{120, 420, 4125, 4065};
inline constexpr ControlPlace kLabel4{4335, 180, 4125, 240};
inline constexpr ControlPlace kPicture2{4335, 420, 4125, 4065};
inline constexpr ControlPlace kText1{120, 4545, 2400, 330};
inline constexpr ControlPlace kLabel1{2610, 4545, 2900, 330};
inline constexpr ControlPlace kLabel2{5600, 4545, 2860, 330};
inline constexpr ControlPlace kFrame2{8730, 30, 1680, 4950};
inline constexpr ControlPlace kCommand1{180, 420, 1320, 495};
inline constexpr ControlPlace kCommand2{180, 1095, 1320, 495};
inline constexpr ControlPlace kCommand3{180, 1770, 1320, 495};
inline constexpr ControlPlace kFrame3{0, 0, 10500, 5040};
inline constexpr ControlPlace kFrame4{3000, 1260, 4500, 1500};
inline constexpr ControlPlace kOption1{300, 300, 3900, 375};
inline constexpr ControlPlace kOption2{300, 825, 3900, 375};
inline constexpr ControlPlace kCmdFoto{3750, 3060, 3000, 540};
}  // namespace capture_layout

// The window's stages: choosing the source, the live image, a still captured, closed.
enum class CaptureStage : std::uint8_t { kChoosing, kLive, kCaptured, kClosed };

class CaptureWindow {
 public:
  // The window's name, captions, tips and messages.
  static constexpr std::u16string_view kName = u"FrmTomaFoto";
  static constexpr std::u16string_view kCaption = u"Cámara Fotográfica";
  static constexpr std::u16string_view kWebcamOption = u"Desde la Web Cam";
  static constexpr std::u16string_view kWebcamTip =
      u"Indica que se tomará la Fotografía al Usuario";
  static constexpr std::u16string_view kFileOption = u"Desde un Archivo";
  static constexpr std::u16string_view kFileTip =
      u"Indica que se utilizará una Fotografía existente del Usuario";
  static constexpr std::u16string_view kTakeButton = u"Tomar Fotografía ...";
  static constexpr std::u16string_view kTakeTip = u"Click para adquirir la Fotografía del Usuario";
  static constexpr std::u16string_view kLiveTitle = u"Imagen en Vivo";
  static constexpr std::u16string_view kStillTitle = u"Imagen Capturada";
  static constexpr std::u16string_view kCommandsFrame = u"Comandos ";
  static constexpr std::u16string_view kClickButton = u"Click";
  static constexpr std::u16string_view kClickTip = u"Toma la Fotografía";
  static constexpr std::u16string_view kSaveButton = u"Guardar";
  static constexpr std::u16string_view kSaveTip = u"Guarda la Fotografía";
  static constexpr std::u16string_view kClearButton = u"Limpiar";
  static constexpr std::u16string_view kClearTip = u"Limpia la Ventana";
  static constexpr std::u16string_view kSaved = u"Foto Guardada ...";
  static constexpr std::u16string_view kNoSourceText =
      u"Indique el modo de obtener la Fotografía, por favor, Gracias...";
  static constexpr std::u16string_view kNoSourceTitle = u"ERROR DE SELECCIÓN";
  static constexpr std::u16string_view kReplaceText =
      u"Ya se ha tomado una foto para este Usuario, ¿Desea remplazarla?.";
  static constexpr std::u16string_view kReplaceTitle = u"Precaución";
  static constexpr std::u16string_view kDialogTitle = u"Busca la Fotografía del Usuario";
  static constexpr std::u16string_view kDialogFilter = u"Fotografías |*.Jpg;*.Bmp";
  // The start of the message for a name that is no photo name; its reason follows.
  static constexpr std::u16string_view kBadNameText = u"El nombre de la fotografía no es válido";
  // Title of the message that reports a failure the window cannot settle itself.
  static constexpr std::u16string_view kFailureTitle = u"Cámara Fotográfica";

  // Client area and picture boxes, in twips.
  static constexpr int kClientWidth = 10500;
  static constexpr int kClientHeight = 5040;
  static constexpr int kPictureWidth = 4125;
  static constexpr int kPictureHeight = 4065;
  // The live image is refreshed on every tick of the shortest timer.
  static constexpr int kTickMilliseconds = 1;

  // Uses the services' camera, file dialog, message box, event pump, disk and bitmap encoder;
  // a missing camera is no camera, the others are reported as failures when needed.
  CaptureWindow(const Services& services, PhotoState& state);
  CaptureWindow(const CaptureWindow&) = delete;
  CaptureWindow& operator=(const CaptureWindow&) = delete;

  // Loading: the name and folder from the photo state, the selection panel, no still, the
  // camera connected.
  void Load();
  // A timer tick: the camera's newest frame into the live image.
  void Tick();
  // An option button pressed.
  void SelectSource(PhotoSource source);
  // The name box edited by the user.
  void EditName(std::u16string text);
  // "Tomar Fotografía ...": the webcam's capture area, or the file dialog.
  void TakePhoto();
  // "Click": a still from the camera into the captured image.
  void Click();
  // "Guardar": stores the still under the folder and the name box's text. A text that is no
  // photo name is refused with a message; nothing is saved and the window stays as it was.
  void Save();
  // "Limpiar": hides the still and the save buttons.
  void Clear();
  // Unloading, after any close: the camera released.
  void Unload();

  const Services& services() const { return services_; }
  CaptureStage stage() const;
  PhotoSource source() const { return source_; }
  bool panel_visible() const { return panel_visible_; }               // Frame3, the selection panel
  bool still_visible() const { return still_visible_; }               // Image1
  bool save_visible() const { return buttons_visible_; }              // Command2 "Guardar"
  bool clear_visible() const { return buttons_visible_; }             // Command3 "Limpiar"
  bool status_visible() const { return status_visible_; }             // Label2
  const std::u16string& name_text() const { return name_text_; }      // Text1
  const std::u16string& folder_text() const { return folder_text_; }  // Label1
  const std::u16string& status_text() const { return status_text_; }  // Label2
  // The pictures and a count that changes whenever the picture does, so a view converts and
  // scales only a new one.
  const ObjectRef& live_picture() const { return live_; }
  std::uint64_t live_revision() const { return live_revision_; }
  const ObjectRef& still_picture() const { return still_; }
  std::uint64_t still_revision() const { return still_revision_; }
  // Whether the window asked to be closed; the view closes it.
  bool closing() const { return closing_; }
  // Called by the view when the window has closed, whichever way.
  void MarkClosed() { closed_ = true; }

 private:
  void WriteStill(const std::u16string& path);
  void SaveAgain(const std::u16string& path);
  void Report(std::u16string_view what, const std::exception& e);
  void Close() { closing_ = true; }

  const Services& services_;
  PhotoState& state_;
  PhotoSource source_ = PhotoSource::kNone;
  bool panel_visible_ = true;
  bool still_visible_ = false;
  bool buttons_visible_ = false;
  bool status_visible_ = true;
  bool closing_ = false;
  bool closed_ = false;
  std::u16string name_text_;
  std::u16string folder_text_;
  std::u16string status_text_;
  ObjectRef live_;
  std::uint64_t live_revision_ = 0;
  ObjectRef still_;
  std::uint64_t still_revision_ = 0;
};

static_assert(capture_layout::kPicture1.w == CaptureWindow::kPictureWidth &&
              capture_layout::kPicture1.h == CaptureWindow::kPictureHeight &&
              capture_layout::kFrame3.w == CaptureWindow::kClientWidth &&
              capture_layout::kFrame3.h == CaptureWindow::kClientHeight);

// The capture window of the calling thread while it is open, null otherwise.
CaptureWindow* OpenCaptureWindow();

}  // namespace velmora
