// The capture window FrmTomaFoto: its stages, its buttons and what ends in the photo path.
#include <exception>

#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/photo.h"

namespace velmora {

namespace {

// The single capture window of the thread while it is open.
thread_local CaptureWindow* open_window = nullptr;

std::u16string DescriptionOf(const std::exception& e, bool spanish) {
  if (const auto* error = dynamic_cast<const Error*>(&e)) return error->description(spanish);
  return spanish ? u"Error inesperado" : u"Unexpected error";
}

}  // namespace

CaptureWindow* OpenCaptureWindow() { return open_window; }

CaptureWindow::CaptureWindow(const Services& services, PhotoState& state)
    : services_(services), state_(state) {}

CaptureStage CaptureWindow::stage() const {
  if (closed_ || closing_) return CaptureStage::kClosed;
  if (panel_visible_) return CaptureStage::kChoosing;
  return still_visible_ ? CaptureStage::kCaptured : CaptureStage::kLive;
}

void CaptureWindow::Load() {
  name_text_ = state_.name;
  folder_text_ = state_.folder;
  panel_visible_ = true;
  Clear();
  // The camera is connected once the window's own pending events have run, as the capture
  // driver expects an owner window that exists.
  if (services_.events) services_.events->ProcessPending();
  if (services_.camera) {
    try {
      services_.camera->Connect();
    } catch (...) {
      // No camera is the normal case; the live image just stays empty.
    }
  }
  status_text_.clear();
}

void CaptureWindow::Tick() {
  if (!services_.camera) return;
  try {
    ObjectRef frame = services_.camera->Grab();
    if (frame != live_) {
      live_ = std::move(frame);
      ++live_revision_;
    }
  } catch (...) {
    // A camera that fails mid-way is as silent as a missing one.
  }
}

void CaptureWindow::SelectSource(PhotoSource source) { source_ = source; }

void CaptureWindow::EditName(std::u16string text) { name_text_ = std::move(text); }

void CaptureWindow::TakePhoto() {
  switch (source_) {
    case PhotoSource::kNone:
      services_.message_box->Show(kNoSourceText, kNoSourceTitle, MsgIcon::kInformation,
                                  MsgButtons::kOk);
      return;
    case PhotoSource::kWebcam: {
      PhotoFileSystem& fs = *services_.photo_files;
      const std::u16string target =
          JoinPhotoPath(state_.folder, state_.name, u".Jpg", fs.Separator());
      panel_visible_ = false;
      // A name that is no photo name has no stored photo; "Guardar" says why it cannot be used.
      if (!IsPhotoName(state_.name)) return;
      try {
        // A photo already stored for the name is the answer even if no new one is saved.
        if (!FindFile(fs, target).empty()) state_.path = fs.Resolve(target);
      } catch (const std::exception& e) {
        Report(target, e);
      }
      return;
    }
    case PhotoSource::kFile: {
      std::u16string chosen;
      try {
        if (!services_.file_dialog) {
          throw Error(err::kInvalidCall, u"No hay un diálogo para elegir archivos");
        }
        chosen = services_.file_dialog->OpenFile(kDialogTitle, kDialogFilter, u"");
        if (TrimBlanks(chosen).empty()) {
          state_.path.clear();
          Close();
          return;
        }
        // The chosen file stays where it is, under its own name: only its path is handed back.
        if (!FindFile(*services_.photo_files, chosen).empty()) {
          state_.path = chosen;
          Close();
        }
      } catch (const std::exception& e) {
        Report(chosen, e);
      }
      return;
    }
  }
}

void CaptureWindow::Click() {
  still_visible_ = true;
  ObjectRef frame;
  if (services_.camera) {
    try {
      frame = services_.camera->Grab();
    } catch (...) {
      // As with the live image: no frame, no message.
    }
  }
  still_ = std::move(frame);
  ++still_revision_;
  status_visible_ = true;
  buttons_visible_ = true;
}

void CaptureWindow::Clear() {
  still_visible_ = false;
  buttons_visible_ = false;
}

void CaptureWindow::WriteStill(const std::u16string& path) {
  if (!services_.bitmaps) throw Error(err::kInvalidCall, u"No es posible escribir imágenes");
  const std::vector<std::uint8_t> bytes = services_.bitmaps->BitmapFile(still_);
  services_.photo_files->ReplaceFile(services_.photo_files->Resolve(path), bytes);
}

void CaptureWindow::Save() {
  // The name box holds whatever the user typed: only a photo name is joined to the folder, so
  // no photo lands, and none is replaced, outside it.
  if (const PhotoNameFault fault = CheckPhotoName(name_text_); fault != PhotoNameFault::kNone) {
    std::u16string text(kBadNameText);
    text += u": ";
    text += PhotoNameFaultText(fault);
    text += u".";
    try {
      services_.message_box->Show(text, kFailureTitle, MsgIcon::kExclamation, MsgButtons::kOk);
    } catch (...) {
      // Nothing is left to tell the user with; nothing was saved either.
    }
    return;
  }
  PhotoFileSystem& fs = *services_.photo_files;
  const std::u16string path = JoinPhotoPath(folder_text_, name_text_, u".jpg", fs.Separator());
  try {
    bool write = true;
    if (!FindFile(fs, path).empty()) {
      write = services_.message_box->Show(kReplaceText, kReplaceTitle, MsgIcon::kInformation,
                                          MsgButtons::kYesNo) == MsgResult::kYes;
    }
    if (write) {
      WriteStill(path);
      status_text_ = kSaved;
      Clear();
    }
    // Saved, or an existing photo kept: either way it is the user's photo now, named as the
    // disk has it, so that the host can open it on a disk that minds case.
    state_.path = fs.Resolve(path);
    Close();
  } catch (const std::exception&) {
    SaveAgain(path);
  }
}

// After a failed step the window tries the save once more without asking; a success leaves the
// window open with the photo path unchanged.
void CaptureWindow::SaveAgain(const std::u16string& path) {
  try {
    WriteStill(path);
    status_text_ = kSaved;
    Clear();
  } catch (const std::exception& e) {
    Report(path, e);
  }
}

void CaptureWindow::Report(std::u16string_view what, const std::exception& e) {
  std::u16string text = u"No fue posible completar la operación";
  if (!what.empty()) {
    text += u" con «";
    text += what;
    text += u"»";
  }
  text += u":\r\n";
  text += DescriptionOf(e, services_.locale.spanish);
  try {
    services_.message_box->Show(text, kFailureTitle, MsgIcon::kCritical, MsgButtons::kOk);
  } catch (...) {
    // Nothing is left to tell the user with; the host goes on regardless.
  }
}

void CaptureWindow::Unload() {
  if (services_.events) services_.events->ProcessPending();
  if (services_.camera) {
    try {
      services_.camera->Release();
    } catch (...) {
      // Releasing a camera that never connected is no failure.
    }
  }
}

Error NoCaptureWindowError() {
  return Error(err::kInvalidCall, u"No hay pantalla para mostrar la ventana Cámara Fotográfica");
}

Error NoFileDialogError() {
  return Error(err::kInvalidCall, u"No hay pantalla para mostrar el diálogo");
}

std::u16string Dolva::PhotoWay(std::u16string& Nombre, std::u16string& Ruta) {
  PhotoState& state = ThreadPhotoState();
  state.name = UpperCase(TrimBlanks(Nombre));
  state.folder = UpperCase(TrimBlanks(Ruta));
  const Services& s = services();
  if (open_window != nullptr) {
    throw Error(err::kInvalidCall, u"La ventana Cámara Fotográfica ya está abierta");
  }
  if (!s.capture_window || !s.photo_files || !s.message_box) {
    throw NoCaptureWindowError();
  }
  CaptureWindow window(s, state);
  struct Opened {
    CaptureWindow& window;
    explicit Opened(CaptureWindow& w) : window(w) { open_window = &w; }
    ~Opened() {
      window.MarkClosed();
      open_window = nullptr;
      try {
        window.Unload();
      } catch (...) {
        // The window is gone; what its host's events raise while it unloads is theirs.
      }
    }
  } opened(window);
  window.Load();
  s.capture_window->ShowModal(window);
  return state.path;
}

}  // namespace velmora
