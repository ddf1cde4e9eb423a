#include "photo_disk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string_view>
#include <vector>

#include "velmora/coerce.h"
#include "velmora/error.h"
#include "velmora/utf.h"

namespace velmora::linux_platform {

namespace {

// The user reads why a photo could not be stored; the common causes in their words.
std::u16string Reason(int code) {
  switch (code) {
    case EACCES:
    case EPERM: return u"Permiso denegado";
    case EROFS: return u"El disco es de sólo lectura";
    case ENOSPC:
    case EDQUOT: return u"No queda espacio en el disco";
    case EFBIG: return u"El archivo es demasiado grande";
    case ENOENT:
    case ENOTDIR: return u"No se encontró la ruta de acceso";
    case EISDIR: return u"Ya existe una carpeta con ese nombre";
    case ENAMETOOLONG: return u"El nombre del archivo es demasiado largo";
    case EIO: return u"Error de entrada o salida del disco";
    default: return u"Error del sistema " + Widen(std::to_string(code));
  }
}

[[noreturn]] void Fail(const std::u16string& path, int code) {
  throw Error(err::kInvalidCall, u"No se pudo guardar «" + path + u"»: " + Reason(code));
}

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

EntryKind KindOf(int dir_fd, const dirent& e) {
  switch (e.d_type) {
    case DT_REG: return EntryKind::kFile;
    case DT_DIR: return EntryKind::kFolder;
    case DT_LNK:
    case DT_UNKNOWN: break;
    default: return EntryKind::kOther;
  }
  struct stat st {};
  if (fstatat(dir_fd, e.d_name, &st, 0) != 0) return EntryKind::kOther;  // a dangling link
  if (S_ISREG(st.st_mode)) return EntryKind::kFile;
  if (S_ISDIR(st.st_mode)) return EntryKind::kFolder;
  return EntryKind::kOther;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string LinuxPhotoFiles::SystemPath(const std::u16string& path) const {
  if (path.find(u'\0') != std::u16string::npos) {
    throw Error(err::kInvalidCall, u"Nombre de archivo no válido");
  }
  if (path.empty()) return ".";
  std::string out = ToUtf8(path);
  if (out[0] != '/' || drive_root_.empty()) return out;
  // Under a drive root ".." stops at that root, as it stops at "/" on the real one.
  std::vector<std::string_view> parts;
  std::size_t pos = 1;
  while (pos <= out.size()) {
    std::size_t end = out.find('/', pos);
    if (end == std::string::npos) end = out.size();
    const std::string_view part = std::string_view(out).substr(pos, end - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = end + 1;
  }
  std::string rooted = drive_root_;
  for (std::string_view part : parts) {
    rooted += '/';
    rooted += part;
  }
  // A folder keeps its final separator.
  if (parts.empty() || out.back() == '/') rooted += '/';
  return rooted;
}

std::optional<std::vector<DirEntry>> LinuxPhotoFiles::List(const std::u16string& folder) {
  const std::string dir_path = SystemPath(folder);
  std::unique_ptr<DIR, DirCloser> dir(opendir(dir_path.c_str()));
  if (!dir) return std::nullopt;
  std::vector<DirEntry> entries;
  errno = 0;
  while (const dirent* e = readdir(dir.get())) {
    const std::string_view name(e->d_name);
    if (name == "." || name == "..") continue;
    entries.push_back({FromUtf8(name), KindOf(dirfd(dir.get()), *e), name.front() == '.'});
  }
  return entries;
}

void LinuxPhotoFiles::ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) {
  const std::string target = SystemPath(path);
  const std::size_t cut = target.rfind('/');
  const std::string folder = cut == std::string::npos ? "." : target.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
  if (name.empty()) Fail(path, EISDIR);

  // A photo replaced keeps the permissions it had; a new one gets those the user's umask gives.
  struct stat old {};
  const bool replacing = stat(target.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) Fail(path, EISDIR);

  // The temporary name is hidden, so a search in the folder never matches a half-written photo,
  // and short, so that any name the folder can hold can be written through it.
  static std::atomic<unsigned> serial{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + ".velmora-" + std::to_string(getpid()) + "-" +
           std::to_string(serial.fetch_add(1)) + ".tmp";
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) Fail(path, errno);
  }
  if (fd < 0) Fail(path, EEXIST);

  int code = 0;
  if (!WriteAll(fd, bytes) || fsync(fd) != 0) code = errno;
  if (code == 0 && replacing && fchmod(fd, old.st_mode & 07777) != 0) code = errno;
  if (close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && rename(temp.c_str(), target.c_str()) != 0) code = errno;
  if (code != 0) {
    unlink(temp.c_str());
    Fail(path, code);
  }
  // The rename itself reaches the disk with the folder; a failure here loses nothing written.
  const int dir_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    fsync(dir_fd);
    close(dir_fd);
  }
}

}  // namespace velmora::linux_platform
