#include "qt/qt_plugin.h"

#include <memory>
#include <type_traits>

#include "qt/qt_application.h"
#include "qt/qt_camera.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_photo.h"
#include "qt/qt_picture.h"
#include "qt/sysinfo/system_windows.h"

static_assert(std::is_same_v<decltype(&velmora_qt_add_services), velmora::GuiPluginEntry>,
              "the entry point has the type hosts look it up as");

void velmora_qt_add_services(velmora::Services* services,
                             const velmora::GuiPluginContext* context) {
  using namespace velmora;
  using namespace velmora::qt;
  if (services == nullptr || context == nullptr || context->abi != kGuiPluginAbi) return;
  try {
    bool (*unattended)() = context->unattended;
    auto gui = std::make_shared<const GuiSession>(
        context->platform != nullptr ? context->platform : "", context->interactive,
        [unattended] { return unattended != nullptr && unattended(); });
    Services filled = *services;
    filled.message_box = std::make_shared<QtMessageBox>(gui, services->message_box);
    filled.events = std::make_shared<QtEventPump>();
    filled.pictures = std::make_shared<QtPictureLoader>();
    filled.bitmaps = std::make_shared<QtBitmapEncoder>();
    filled.camera = std::make_shared<QtCamera>();
    filled.file_dialog = std::make_shared<QtFileDialog>(gui);
    filled.capture_window = std::make_shared<QtCaptureWindowHost>(gui);
    filled.system_windows =
        std::make_shared<QtSystemWindows>(services->system, services->locale, gui);
    *services = std::move(filled);
  } catch (...) {
    // Nothing may cross into the host's C call: without memory for them, the host's own
    // services keep answering.
  }
}
