#include "fake_photo.h"

#include <algorithm>

#include "velmora/coerce.h"
#include "velmora/error.h"

namespace velmora::fakes {

struct FakeDisk::Node {
  std::u16string name;
  EntryKind kind = EntryKind::kFolder;
  bool hidden = false;
  std::vector<std::uint8_t> bytes;
  std::vector<std::unique_ptr<Node>> children;

  Node* Child(std::u16string_view n) const {
    for (const auto& c : children) {
      if (c->name == n) return c.get();
    }
    return nullptr;
  }
};

namespace {

std::vector<std::u16string> Parts(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t end = path.find(u'/', pos);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view part = path.substr(pos, end - pos);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.emplace_back(part);
    }
    pos = end + 1;
  }
  return parts;
}

void PutLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetLe(const std::vector<std::uint8_t>& in, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
  return v;
}

}  // namespace

std::u16string NormalPath(std::u16string_view path) {
  std::u16string out;
  for (const auto& part : Parts(path)) {
    out += u'/';
    out += UpperCase(part);
  }
  return out.empty() ? u"/" : out;
}

bool StaysIn(DiskAccess access, std::u16string_view path, std::u16string_view folder) {
  const std::u16string where = NormalPath(path);
  const std::u16string inside = NormalPath(folder);
  if (access == DiskAccess::kWrite) {
    const std::size_t cut = where.rfind(u'/');
    return where.size() > 1 && NormalPath(where.substr(0, cut)) == inside;
  }
  // A folder on the way: the root, or a prefix of the folder that ends where a part ends, by
  // where it leads or as it is written ("/A/B/../C" walks through "/A/B", which ".." then leaves).
  if (where == u"/" || where == inside ||
      (inside.starts_with(where) && inside[where.size()] == u'/')) {
    return true;
  }
  std::u16string written = UpperCase(path);
  std::u16string whole = UpperCase(folder);
  if (!written.ends_with(u'/')) written += u'/';
  if (!whole.ends_with(u'/')) whole += u'/';
  return whole.starts_with(written);
}

FakeDisk::FakeDisk() : root_(std::make_unique<Node>()) {}
FakeDisk::~FakeDisk() = default;

FakeDisk::Node* FakeDisk::Find(const std::u16string& path) const {
  Node* node = root_.get();
  for (const auto& part : Parts(path)) {
    node = node->kind == EntryKind::kFolder ? node->Child(part) : nullptr;
    if (node == nullptr) return nullptr;
  }
  return node;
}

FakeDisk::Node* FakeDisk::Folder(const std::u16string& path, bool create) {
  Node* node = root_.get();
  for (const auto& part : Parts(path)) {
    Node* next = node->Child(part);
    if (next == nullptr) {
      if (!create) return nullptr;
      node->children.push_back(std::make_unique<Node>());
      next = node->children.back().get();
      next->name = part;
    }
    if (next->kind != EntryKind::kFolder) return nullptr;
    node = next;
  }
  return node;
}

std::optional<std::vector<DirEntry>> FakeDisk::List(const std::u16string& folder) {
  if (watch) watch(DiskAccess::kList, folder);
  if (failing_lists) throw Error(err::kInvalidCall, u"Nombre de archivo no válido");
  const Node* node = Find(folder);
  if (node == nullptr || node->kind != EntryKind::kFolder) return std::nullopt;
  std::vector<DirEntry> entries;
  for (const auto& c : node->children) entries.push_back({c->name, c->kind, c->hidden});
  return entries;
}

void FakeDisk::ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) {
  if (watch) watch(DiskAccess::kWrite, path);
  if (failing_writes > 0) {
    --failing_writes;
    throw Error(err::kInvalidCall, u"No queda espacio en el disco");
  }
  auto parts = Parts(path);
  if (parts.empty()) throw Error(err::kInvalidCall, u"Nombre de archivo no válido");
  const std::u16string name = parts.back();
  parts.pop_back();
  std::u16string folder;
  for (const auto& p : parts) folder += u"/" + p;
  Node* dir = Folder(folder, false);
  if (dir == nullptr) throw Error(err::kInvalidCall, u"No se encontró la ruta de acceso");
  Node* file = dir->Child(name);
  if (file != nullptr && file->kind != EntryKind::kFile) {
    throw Error(err::kInvalidCall, u"Error de acceso a la ruta o el archivo");
  }
  if (file == nullptr) {
    dir->children.push_back(std::make_unique<Node>());
    file = dir->children.back().get();
    file->name = name;
    file->kind = EntryKind::kFile;
  }
  file->bytes.assign(bytes.begin(), bytes.end());
  ++writes;
}

void FakeDisk::AddFolder(const std::u16string& path) { Folder(path, true); }

void FakeDisk::AddFile(const std::u16string& path, std::vector<std::uint8_t> bytes, bool hidden) {
  const std::size_t cut = path.rfind(u'/');
  Node* dir = Folder(cut == std::u16string::npos ? u"" : path.substr(0, cut), true);
  const std::u16string name = cut == std::u16string::npos ? path : path.substr(cut + 1);
  Node* file = dir->Child(name);
  if (file == nullptr) {
    dir->children.push_back(std::make_unique<Node>());
    file = dir->children.back().get();
    file->name = name;
  }
  file->kind = EntryKind::kFile;
  file->hidden = hidden;
  file->bytes = std::move(bytes);
}

std::optional<std::vector<std::uint8_t>> FakeDisk::Read(const std::u16string& path) const {
  const Node* node = Find(path);
  if (node == nullptr || node->kind != EntryKind::kFile) return std::nullopt;
  return node->bytes;
}

void FakeCamera::Connect() {
  ++connects;
  connected_ = present;
}

ObjectRef FakeCamera::Grab() {
  ++grabs;
  if (failing_grabs) throw Error(err::kInvalidCall);
  return connected_ ? frame_ : nullptr;
}

void FakeCamera::Release() {
  ++releases;
  connected_ = false;
}

std::u16string ScriptedFileDialog::OpenFile(std::u16string_view title, std::u16string_view filter,
                                            std::u16string_view initial_name) {
  requests_.push_back(
      {std::u16string(title), std::u16string(filter), std::u16string(initial_name)});
  if (failing) throw Error(err::kInvalidCall, u"No se pudo mostrar el diálogo");
  if (script_.empty()) return {};
  std::u16string answer = std::move(script_.front());
  script_.pop_front();
  return answer;
}

std::vector<std::uint8_t> FakeBitmapEncoder::BitmapFile(const ObjectRef& picture) {
  const auto* fake = dynamic_cast<const FakePicture*>(picture.get());
  if (fake == nullptr) throw Error(err::kInvalidPicture);
  const auto w = static_cast<std::uint32_t>(fake->width());
  const auto h = static_cast<std::uint32_t>(fake->height());
  const std::uint32_t stride = (w * 3 + 3) / 4 * 4;  // rows padded to 4 bytes
  std::vector<std::uint8_t> out(54 + stride * h, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutLe(out, 2, static_cast<std::uint32_t>(out.size()), 4);
  PutLe(out, 10, 54, 4);
  PutLe(out, 14, 40, 4);
  PutLe(out, 18, w, 4);
  PutLe(out, 22, h, 4);
  PutLe(out, 26, 1, 2);
  PutLe(out, 28, 24, 2);
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) PutLe(out, 54 + y * stride + x * 3, fake->rgb(), 3);
  }
  return out;
}

ObjectRef FakePictureLoader::Load(const std::u16string& path) {
  loaded.push_back(path);
  const auto bytes = disk_->Read(path);
  if (!bytes || bytes->size() < 54 || (*bytes)[0] != 'B' || (*bytes)[1] != 'M') {
    throw Error(err::kInvalidPicture);
  }
  const auto w = static_cast<int>(GetLe(*bytes, 18, 4));
  const auto h = static_cast<int>(GetLe(*bytes, 22, 4));
  const std::uint32_t at = GetLe(*bytes, 10, 4);
  const std::uint32_t rgb = at + 3 <= bytes->size() ? GetLe(*bytes, at, 3) : 0;
  return std::make_shared<FakePicture>(w, h, rgb);
}

void ScriptedCaptureHost::ShowModal(CaptureWindow& window) {
  ++shown;
  if (script) script(window);
  closed_by_request = window.closing();
}

}  // namespace velmora::fakes
