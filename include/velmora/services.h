// The platform services handed to the library's routines.
#pragma once

#include <memory>

#include "velmora/host.h"
#include "velmora/locale.h"

namespace velmora {

class BitmapEncoder;      // photo.h
class Camera;             // photo.h
class CaptureWindowHost;  // photo.h
class FileDialog;         // photo.h
class PhotoFileSystem;    // photo.h
class SystemQueries;
class SystemWindows;

// Everything a routine may ask of the platform. The core never reaches the platform another
// way, so a test hands in a fixed clock and a named locale and every routine answers the same.
// Families that need a further service add it here as a small interface of their own.
struct Services {
  std::shared_ptr<const Clock> clock;
  LocaleData locale;
  std::shared_ptr<MessageBox> message_box;  // message boxes shown to the user
  std::shared_ptr<EventPump> events;        // pending window events
  std::shared_ptr<PictureLoader> pictures;            // pictures loaded from files by content
  std::shared_ptr<PhotoFileSystem> photo_files;       // the disk of the photo family
  std::shared_ptr<BitmapEncoder> bitmaps;             // pictures written as bitmap files
  std::shared_ptr<Camera> camera;                     // the first camera; none is no camera
  std::shared_ptr<FileDialog> file_dialog;            // the open-file dialog
  std::shared_ptr<CaptureWindowHost> capture_window;  // shows the photo capture window
  std::shared_ptr<SystemQueries> system;           // the machine's figures (sysinfo.h)
  std::shared_ptr<SystemWindows> system_windows;   // the two system-information windows
};

// Services for tests and hosts without a platform: the built-in es_MX data and a clock fixed at
// the given instant.
std::shared_ptr<Services> FixedServices(Date now, LocaleData locale = SpanishMexico());

}  // namespace velmora
