// Fakes of the photo family's services: an in-memory disk with injectable faults, a camera fed
// frame by frame, a scripted file dialog, a bitmap writer and picture loader for fake pictures,
// and a capture-window host that plays a script against the window instead of showing it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "velmora/photo.h"

namespace velmora::fakes {

// A picture of the fakes: a size and one colour, enough to tell frames apart.
class FakePicture final : public Picture {
 public:
  FakePicture(int width, int height, std::uint32_t rgb)
      : width_(width), height_(height), rgb_(rgb) {}
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t rgb() const { return rgb_; }

 private:
  int width_, height_;
  std::uint32_t rgb_;
};

// What the disk is asked to do.
enum class DiskAccess : std::uint8_t { kList, kWrite };

// A path of the fake disk reduced to where it leads: "." and empty parts dropped, ".." taking
// the part before it away (never climbing above the root), case folded, relative paths from the
// root. NormalPath(u"/Ponderix/Fotos/../x/") == u"/PONDERIX/X"; NormalPath(u"") == u"/".
std::u16string NormalPath(std::u16string_view path);

// Whether an access stays in `folder`: a write of a file directly in it, or a listing of it or
// of a folder on its way there (which spells its path as on disk), by where the folder leads or
// as it is written. Paths compare as NormalPath.
// StaysIn(DiskAccess::kWrite, u"/fotos/../fuera/X.jpg", u"/fotos") is false.
bool StaysIn(DiskAccess access, std::u16string_view path, std::u16string_view folder);

// A disk in memory with '/' paths. Folders list their entries in the order they were created,
// as a real directory lists them in its own order; names are case-sensitive, as on Linux.
// Relative paths start at the root; "." and ".." are taken as a real disk takes them.
class FakeDisk final : public PhotoFileSystem {
 public:
  FakeDisk();
  ~FakeDisk() override;

  char16_t Separator() const override { return u'/'; }
  std::optional<std::vector<DirEntry>> List(const std::u16string& folder) override;
  // Replaces the file at exactly this path; its folder must exist. The next `failing_writes`
  // writes fail before anything changes, as a full disk or a vanished folder would make them.
  void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override;

  // Creates the folders of the path as needed.
  void AddFolder(const std::u16string& path);
  void AddFile(const std::u16string& path, std::vector<std::uint8_t> bytes, bool hidden = false);
  // The file's bytes, nullopt when there is no file at exactly this path.
  std::optional<std::vector<std::uint8_t>> Read(const std::u16string& path) const;

  int failing_writes = 0;
  bool failing_lists = false;  // every listing raises, as a search of a rejected name would
  int writes = 0;              // completed writes
  // Told of every listing (the folder) and every write (the file's path) before it happens, as
  // the caller spelled the path: a test or the fuzzer confines the disk with it.
  std::function<void(DiskAccess, const std::u16string&)> watch;

 private:
  struct Node;
  Node* Find(const std::u16string& path) const;
  Node* Folder(const std::u16string& path, bool create);
  std::unique_ptr<Node> root_;
};

// A camera that delivers whatever frame the test fed it last, only while connected.
class FakeCamera final : public Camera {
 public:
  void Connect() override;
  ObjectRef Grab() override;
  void Release() override;

  // Feeds a new frame, as a camera would on its own clock.
  void Feed(ObjectRef frame) { frame_ = std::move(frame); }
  bool connected() const { return connected_; }
  int connects = 0;
  int releases = 0;
  int grabs = 0;
  bool present = true;         // a machine without a camera: Connect does nothing
  bool failing_grabs = false;  // a driver that raises on every grab

 private:
  bool connected_ = false;
  ObjectRef frame_;
};

// One request to the file dialog.
struct DialogRequest {
  std::u16string title;
  std::u16string filter;
  std::u16string initial_name;
};

// Answers the scripted paths in order (empty text, a cancel, when the script is used up).
class ScriptedFileDialog final : public FileDialog {
 public:
  std::u16string OpenFile(std::u16string_view title, std::u16string_view filter,
                          std::u16string_view initial_name) override;
  void Answer(std::u16string path) { script_.push_back(std::move(path)); }
  const std::vector<DialogRequest>& requests() const { return requests_; }
  bool failing = false;  // no dialog can be shown

 private:
  std::deque<std::u16string> script_;
  std::vector<DialogRequest> requests_;
};

// Writes fake pictures as real 24-bit bitmap files of their size and colour.
class FakeBitmapEncoder final : public BitmapEncoder {
 public:
  std::vector<std::uint8_t> BitmapFile(const ObjectRef& picture) override;
};

// Loads pictures from a fake disk by content: a bitmap file becomes a FakePicture of its size
// and first pixel's colour; anything else is 481.
class FakePictureLoader final : public PictureLoader {
 public:
  explicit FakePictureLoader(std::shared_ptr<FakeDisk> disk) : disk_(std::move(disk)) {}
  ObjectRef Load(const std::u16string& path) override;
  std::vector<std::u16string> loaded;  // the paths asked for

 private:
  std::shared_ptr<FakeDisk> disk_;
};

// Plays the user's part: ShowModal runs the script against the loaded window; the window then
// closes, at its own request or as by its close box when the script leaves it open.
class ScriptedCaptureHost final : public CaptureWindowHost {
 public:
  void ShowModal(CaptureWindow& window) override;
  std::function<void(CaptureWindow&)> script;
  int shown = 0;
  bool closed_by_request = false;  // whether the last window asked to close itself
};

}  // namespace velmora::fakes
