#include "fake_sysinfo.h"

#include "velmora/coerce.h"

namespace velmora::fakes {

namespace {

// The letter of a root "C:" or "C:\"; nothing for any other text.
std::optional<char16_t> RootLetter(std::u16string_view root, bool with_separator) {
  const std::size_t length = with_separator ? 3 : 2;
  if (root.size() != length || root[1] != u':') return std::nullopt;
  if (with_separator && root[2] != u'\\' && root[2] != u'/') return std::nullopt;
  return UpperChar(root[0]);
}

}  // namespace

std::u16string FakeSystemQueries::ProfileString(std::u16string_view file,
                                                std::u16string_view section,
                                                std::u16string_view key, std::size_t size) {
  if (profile_dir) return ProfileFileString(*profile_dir, file, section, key, size);
  std::u16string value = ProfileEntry(system_ini, section, key).value_or(std::u16string());
  if (size > 0 && value.size() > size - 1) value.resize(size - 1);
  return value;
}

std::optional<ClusterFigures> FakeSystemQueries::DiskClusters(
    std::optional<std::u16string_view> root) {
  cluster_roots.push_back(root ? std::optional<std::u16string>(*root) : std::nullopt);
  if (!root) return current_drive;
  const auto letter = RootLetter(*root, false);
  if (!letter) return std::nullopt;
  const auto it = lettered_drives.find(*letter);
  if (it == lettered_drives.end()) return std::nullopt;
  return it->second;
}

std::optional<DriveBytes> FakeSystemQueries::DiskBytes(std::u16string_view root) {
  byte_roots.emplace_back(root);
  const auto letter = RootLetter(root, true);
  if (!letter) return std::nullopt;
  const auto it = drive_bytes.find(*letter);
  if (it == drive_bytes.end()) return std::nullopt;
  return it->second;
}

}  // namespace velmora::fakes
