#include "win32/photo_files.h"

#include <atomic>
#include <cstdint>

#include "velmora/error.h"
#include "win32/wide.h"
#include "win32/win_api.h"

namespace velmora::win32 {

std::optional<std::vector<DirEntry>> WindowsPhotoFiles::List(const std::u16string& folder) {
  std::u16string pattern = folder;
  if (!pattern.empty() && pattern.back() != u'\\' && pattern.back() != u'/') pattern += u'\\';
  pattern += u'*';
  WIN32_FIND_DATAW found{};
  HANDLE h = FindFirstFileW(Wide(pattern), &found);
  if (h == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<DirEntry>{};
    return std::nullopt;
  }
  std::vector<DirEntry> out;
  do {
    const std::u16string n = FromWide(found.cFileName);
    if (n == u"." || n == u"..") continue;
    DirEntry e;
    e.name = n;
    e.kind = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder
                                                                      : EntryKind::kFile;
    e.hidden = (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    out.push_back(std::move(e));
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return out;
}

void WindowsPhotoFiles::ReplaceFile(const std::u16string& path,
                                    std::span<const std::uint8_t> bytes) {
  constexpr int kPathAccess = 75;
  const Error failure(kPathAccess, u"No se pudo guardar el archivo " + path);
  // Written beside the target first, then moved over it: the old file stays whole on failure.
  // The temporary file has a short name of its own (a fixed prefix and a number, 12 characters)
  // so that any name the folder can hold can be written through it, and it is hidden while it
  // is written, so a search never matches a half-written photo.
  const std::size_t cut = path.find_last_of(u"\\/");
  const std::u16string folder = cut == std::u16string::npos ? u"" : path.substr(0, cut + 1);
  static std::atomic<std::uint32_t> serial{GetCurrentProcessId() * 2654435761u};
  std::u16string temp;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    const std::uint32_t n = serial.fetch_add(1);
    temp = folder + u"~VM";
    for (int shift = 16; shift >= 0; shift -= 4) temp += u"0123456789ABCDEF"[(n >> shift) & 0xF];
    temp += u".tmp";
    h = CreateFileW(Wide(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN,
                    nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      throw failure;
    }
  }
  if (h == INVALID_HANDLE_VALUE) throw failure;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  // The photo itself is an ordinary visible file, whatever the temporary one was.
  if (!ok || written != bytes.size() || !SetFileAttributesW(Wide(temp), FILE_ATTRIBUTE_NORMAL) ||
      !MoveFileExW(Wide(temp), Wide(path), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(Wide(temp));
    throw failure;
  }
}

}  // namespace velmora::win32
