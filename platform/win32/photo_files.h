// The disk of the photo family on Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "velmora/photo.h"

namespace velmora::win32 {

// Windows paths, case ignored by the disk itself. ReplaceFile writes a hidden temporary file of
// a short name of its own ("~VM", a number, ".tmp") beside the target and moves it over the
// target, so the stored photo stays whole when writing fails (75).
class WindowsPhotoFiles final : public PhotoFileSystem {
 public:
  char16_t Separator() const override { return u'\\'; }
  std::optional<std::vector<DirEntry>> List(const std::u16string& folder) override;
  void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override;
  std::u16string Resolve(const std::u16string& path) override { return path; }
};

}  // namespace velmora::win32
