// The disk of the photo family on Linux.
#pragma once

#include <string>

#include "velmora/photo.h"

namespace velmora::linux_platform {

// Paths use '/'. Listings come in the directory's own order; a name starting with "." is a
// hidden entry, and a symbolic link counts as what it points to. A file is replaced through a
// temporary file in the same folder and a rename over the old one, so a reader sees the old
// photo or the new one, never a part of either, and a failed write leaves the old one as it was.
class LinuxPhotoFiles final : public PhotoFileSystem {
 public:
  // `drive_root` is the folder that stands for "/", the root of the disk: empty for the real
  // root. A sandbox or a test hands in a folder of its own so that "/Ponderix/Fotos/" lies there.
  explicit LinuxPhotoFiles(std::string drive_root = {}) : drive_root_(std::move(drive_root)) {}

  char16_t Separator() const override { return u'/'; }
  std::optional<std::vector<DirEntry>> List(const std::u16string& folder) override;
  void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override;

  // The path as the operating system takes it: UTF-8, under the drive root when absolute, "." for
  // an empty one. Under a drive root an absolute path never climbs above it: "/../x" is the root's
  // "x", as on the real root. Raises Error for a name the system cannot take (an embedded NUL).
  std::string SystemPath(const std::u16string& path) const;

 private:
  std::string drive_root_;
};

}  // namespace velmora::linux_platform
