// Profile files (System.ini) read as the platform's profile functions read them.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include "velmora/coerce.h"
#include "velmora/sysinfo.h"
#include "velmora/utf.h"

namespace velmora {

namespace {

// Whether the bytes are well-formed UTF-8 (a profile file written on Linux); otherwise they are
// taken as the Windows code page the file was written in.
bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = 0;
    if (c < 0x80) extra = 0;
    else if (c >= 0xC2 && c <= 0xDF) extra = 1;
    else if (c >= 0xE0 && c <= 0xEF) extra = 2;
    else if (c >= 0xF0 && c <= 0xF4) extra = 3;
    else return false;
    if (extra > 0 && i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

// Windows-1252: Latin-1 except for 0x80..0x9F.
std::u16string FromWindows1252(std::string_view s) {
  static constexpr char16_t k80[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::u16string out;
  out.reserve(s.size());
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    out += (c >= 0x80 && c < 0xA0) ? k80[c - 0x80] : static_cast<char16_t>(c);
  }
  return out;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

}  // namespace

std::optional<std::u16string> ProfileEntry(std::string_view file_bytes, std::u16string_view section,
                                           std::u16string_view key) {
  if (file_bytes.starts_with("\xEF\xBB\xBF")) file_bytes.remove_prefix(3);
  const std::u16string text =
      IsUtf8(file_bytes) ? FromUtf8(file_bytes) : FromWindows1252(file_bytes);
  const std::u16string_view wanted_section = Trim(section);
  const std::u16string_view wanted_key = Trim(key);

  bool inside = false;  // within the first section of the wanted name
  std::u16string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find(u'\n');
    std::u16string_view line = rest.substr(0, end);
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[') {
      // Only the first section of the name is read; the next heading ends it.
      if (inside) break;
      const std::size_t close = line.find(u']');
      const std::u16string_view name =
          Trim(line.substr(1, close == line.npos ? line.npos : close - 1));
      inside = SameIgnoringCase(name, wanted_section);
      continue;
    }
    if (!inside) continue;
    const std::size_t eq = line.find(u'=');
    if (eq == line.npos) continue;
    if (!SameIgnoringCase(Trim(line.substr(0, eq)), wanted_key)) continue;
    std::u16string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::u16string(value);
  }
  return std::nullopt;
}

std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& directory,
                                                      std::u16string_view name) {
  std::error_code ec;
  const std::filesystem::path exact = directory / std::filesystem::path(ToUtf8(name));
  if (std::filesystem::exists(exact, ec)) return exact;
  std::vector<std::pair<std::u16string, std::filesystem::path>> entries;
  for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end;
       it.increment(ec)) {
    entries.emplace_back(FromUtf8(it->path().filename().string()), it->path());
  }
  const auto found =
      FindByName(entries.begin(), entries.end(), name,
                 [](const auto& entry) -> std::u16string_view { return entry.first; });
  if (found == entries.end()) return std::nullopt;
  return found->second;
}

std::u16string ProfileFileString(const std::filesystem::path& directory, std::u16string_view file,
                                 std::u16string_view section, std::u16string_view key,
                                 std::size_t size) {
  const auto path = FindIgnoringCase(directory, file);
  std::error_code ec;
  if (!path || !std::filesystem::is_regular_file(*path, ec)) return {};
  std::string bytes;
  try {
    std::ifstream in(*path, std::ios::binary);
    if (!in) return {};
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return {};
  } catch (const std::ios_base::failure&) {
    return {};  // unreadable: as if it were not there
  }
  std::u16string value = ProfileEntry(bytes, section, key).value_or(std::u16string());
  if (size == 0) return {};
  if (value.size() > size - 1) value.resize(size - 1);
  return value;
}

}  // namespace velmora
