#include "window_system.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "linux/console_dialogs.h"
#include "linux/display.h"
#include "velmora/error.h"
#include "velmora/gui_plugin.h"
#include "velmora/photo.h"
#include "velmora/sysinfo.h"

namespace velmora::linux_platform {

namespace {

constexpr const char* kPluginFile = "libvelmora-qt.so.1";

// Its address names the library this code is part of.
const char kAnchor = 0;

// The folder of the library holding this code (libvelmora-linux.so.1), with its final '/';
// empty when it cannot be told.
std::string OwnFolder() {
  Dl_info info{};
  if (dladdr(&kAnchor, &info) == 0 || info.dli_fname == nullptr) return {};
  const std::string path = info.dli_fname;
  const std::size_t cut = path.rfind('/');
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Set once the plugin is known to be in the process; it never leaves.
std::atomic<bool> plugin_in_process{false};

// The entry point of a plugin the program linked itself, found among the symbols every library
// loaded at start makes visible: a lookup costs a fraction of a microsecond, where asking the
// dynamic loader for the library by name searches the disk each time.
GuiPluginEntry LinkedEntry() {
  return reinterpret_cast<GuiPluginEntry>(dlsym(RTLD_DEFAULT, kGuiPluginEntry));
}

// The plugin's entry point, the library loaded on the first call: the copy already in the
// process when the program linked it, else the one installed beside this library, else the one
// the dynamic loader finds by name. Null for good when none loads. The library stays loaded for
// the life of the process: a window system cannot be taken out of a running one.
GuiPluginEntry PluginEntry() {
  static const GuiPluginEntry entry = []() -> GuiPluginEntry {
    if (const GuiPluginEntry linked = LinkedEntry()) return linked;
    void* handle = nullptr;
    const std::string folder = OwnFolder();
    if (!folder.empty()) handle = dlopen((folder + kPluginFile).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) handle = dlopen(kPluginFile, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    return reinterpret_cast<GuiPluginEntry>(dlsym(handle, kGuiPluginEntry));
  }();
  if (entry != nullptr) plugin_in_process.store(true, std::memory_order_relaxed);
  return entry;
}

// A box may be a window only on the thread the window system's application lives on, the
// process's first: a library called from other threads (Python's) answers there on the terminal.
bool OnMainThread() { return gettid() == getpid(); }

// The plugin's services for one bundle, made on first need from the bundle's own clock, locale,
// queries, disk and terminal box.
class WindowSystem {
 public:
  explicit WindowSystem(Services base) : base_(std::move(base)) {}

  // Loads the plugin and lets it fill its services, once; null when it cannot be loaded.
  const Services* Load() {
    std::call_once(once_, [this] {
      const GuiPluginEntry entry = PluginEntry();
      if (entry == nullptr) return;
      platform_ = DisplayPlatform();
      GuiPluginContext context;
      context.platform = platform_.c_str();
      context.interactive = InteractivePlatform(platform_);
      context.unattended = &UnattendedMode;
      gui_ = std::make_unique<Services>(base_);
      entry(gui_.get(), &context);
      loaded_.store(gui_.get(), std::memory_order_release);
    });
    return loaded_.load(std::memory_order_acquire);
  }

  // The plugin's services when already loaded for this bundle, else null; loads nothing.
  const Services* Loaded() const { return loaded_.load(std::memory_order_acquire); }

  // The loaded ones, or those of a plugin the process already holds.
  const Services* LoadedOrInProcess() {
    const Services* gui = Loaded();
    return gui != nullptr || !WindowSystemLoaded() ? gui : Load();
  }

 private:
  Services base_;
  std::once_flag once_;
  std::string platform_;  // the context's text lives as long as the plugin's services
  std::unique_ptr<Services> gui_;
  std::atomic<const Services*> loaded_{nullptr};
};

// Whether a person could answer a window now: the plugin is in the process already (a Qt host
// has its own application) or there is a display with somebody at it.
bool PersonAtDisplay() { return WindowSystemLoaded() || InteractivePlatform(DisplayPlatform()); }

// Whether the capture window could be shown now: to a person, or unattended, where it closes
// itself. Modal, it is never made where nobody could close it.
bool CaptureWindowPossible() { return UnattendedMode() || PersonAtDisplay(); }

// Whether a window could be made now: for a person, or unattended (where it closes itself,
// offscreen when there is no display), or on a platform the environment asks for.
bool WindowPossible() {
  return UnattendedMode() || WindowSystemLoaded() || !DisplayPlatform().empty();
}

using Gui = std::shared_ptr<WindowSystem>;

class BoxStandIn final : public MessageBox {
 public:
  BoxStandIn(Gui gui, std::shared_ptr<MessageBox> terminal)
      : gui_(std::move(gui)), terminal_(std::move(terminal)) {}

  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override {
    // Unattended, every box is answered on the terminal, window system or not.
    if (!UnattendedMode() && OnMainThread() && PersonAtDisplay()) {
      const Services* gui = gui_->Load();
      if (gui != nullptr && gui->message_box)
        return gui->message_box->Show(text, title, icon, buttons);
    }
    return terminal_->Show(text, title, icon, buttons);
  }

 private:
  Gui gui_;
  std::shared_ptr<MessageBox> terminal_;
};

// Without a window system there are no window events to run.
class EventsStandIn final : public EventPump {
 public:
  explicit EventsStandIn(Gui gui) : gui_(std::move(gui)) {}

  void ProcessPending() override {
    const Services* gui = gui_->LoadedOrInProcess();
    if (gui != nullptr && gui->events) gui->events->ProcessPending();
  }

 private:
  Gui gui_;
};

// Pictures are read by the window system's image readers, display or not.
class PicturesStandIn final : public PictureLoader {
 public:
  explicit PicturesStandIn(Gui gui) : gui_(std::move(gui)) {}

  ObjectRef Load(const std::u16string& path) override {
    const Services* gui = gui_->Load();
    if (gui == nullptr || !gui->pictures) throw Error(err::kInvalidPicture);
    return gui->pictures->Load(path);
  }

 private:
  Gui gui_;
};

class BitmapsStandIn final : public BitmapEncoder {
 public:
  explicit BitmapsStandIn(Gui gui) : gui_(std::move(gui)) {}

  std::vector<std::uint8_t> BitmapFile(const ObjectRef& picture) override {
    const Services* gui = gui_->Load();
    if (gui == nullptr || !gui->bitmaps) throw Error(err::kInvalidPicture);
    return gui->bitmaps->BitmapFile(picture);
  }

 private:
  Gui gui_;
};

// A camera that cannot be reached delivers no frame, as a missing one does. It is connected
// only for a window that can be shown: the capture window connects it while loading, before it
// is shown, and without a display it is refused anyway.
class CameraStandIn final : public Camera {
 public:
  explicit CameraStandIn(Gui gui) : gui_(std::move(gui)) {}

  void Connect() override {
    const Services* gui = CaptureWindowPossible() ? gui_->Load() : nullptr;
    if (gui != nullptr && gui->camera) gui->camera->Connect();
  }
  ObjectRef Grab() override {
    const Services* gui = gui_->Loaded();
    return gui != nullptr && gui->camera ? gui->camera->Grab() : ObjectRef{};
  }
  void Release() override {
    const Services* gui = gui_->Loaded();
    if (gui != nullptr && gui->camera) gui->camera->Release();
  }

 private:
  Gui gui_;
};

class FileDialogStandIn final : public FileDialog {
 public:
  explicit FileDialogStandIn(Gui gui) : gui_(std::move(gui)) {}

  std::u16string OpenFile(std::u16string_view title, std::u16string_view filter,
                          std::u16string_view initial_name) override {
    const Services* gui = PersonAtDisplay() ? gui_->Load() : nullptr;
    if (gui == nullptr || !gui->file_dialog) throw NoFileDialogError();
    return gui->file_dialog->OpenFile(title, filter, initial_name);
  }

 private:
  Gui gui_;
};

class CaptureWindowStandIn final : public CaptureWindowHost {
 public:
  explicit CaptureWindowStandIn(Gui gui) : gui_(std::move(gui)) {}

  void ShowModal(CaptureWindow& window) override {
    const Services* gui = CaptureWindowPossible() ? gui_->Load() : nullptr;
    if (gui == nullptr || !gui->capture_window) throw NoCaptureWindowError();
    gui->capture_window->ShowModal(window);
  }

 private:
  Gui gui_;
};

class SystemWindowsStandIn final : public SystemWindows {
 public:
  explicit SystemWindowsStandIn(Gui gui) : gui_(std::move(gui)) {}

  void ShowPcInfo(bool modal) override { Windows().ShowPcInfo(modal); }
  void ShowSplash(bool modal) override { Windows().ShowSplash(modal); }
  bool AnyOpen() const override {
    const Services* gui = gui_->Loaded();
    return gui != nullptr && gui->system_windows && gui->system_windows->AnyOpen();
  }
  void WaitWhileOpen() override {
    const Services* gui = gui_->Loaded();
    if (gui != nullptr && gui->system_windows) gui->system_windows->WaitWhileOpen();
  }

 private:
  SystemWindows& Windows() {
    const Services* gui = WindowPossible() ? gui_->Load() : nullptr;
    if (gui == nullptr || !gui->system_windows) throw NoDisplayError();
    return *gui->system_windows;
  }

  Gui gui_;
};

}  // namespace

bool WindowSystemLoaded() {
  // Asked at every pending-events run of a process without windows, so it must cost nothing.
  if (plugin_in_process.load(std::memory_order_relaxed)) return true;
  if (LinkedEntry() == nullptr) return false;
  plugin_in_process.store(true, std::memory_order_relaxed);
  return true;
}

void AddWindowSystem(Services& services) {
  const std::shared_ptr<MessageBox> terminal = services.message_box;
  auto gui = std::make_shared<WindowSystem>(services);
  services.message_box = std::make_shared<BoxStandIn>(gui, terminal);
  services.events = std::make_shared<EventsStandIn>(gui);
  services.pictures = std::make_shared<PicturesStandIn>(gui);
  services.bitmaps = std::make_shared<BitmapsStandIn>(gui);
  services.camera = std::make_shared<CameraStandIn>(gui);
  services.file_dialog = std::make_shared<FileDialogStandIn>(gui);
  services.capture_window = std::make_shared<CaptureWindowStandIn>(gui);
  services.system_windows = std::make_shared<SystemWindowsStandIn>(gui);
}

}  // namespace velmora::linux_platform
