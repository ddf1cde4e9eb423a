// Finding, showing and clearing a user's stored photo, and PhotoWay.
#include <algorithm>

#include "velmora/coerce.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/photo.h"

namespace velmora {

namespace {

thread_local PhotoState photo_state;

std::u16string_view NameOf(const DirEntry& e) { return e.name; }

// The photo file of a name shows in the form's "Image1", reached through its controls as every
// routine of the library reaches a host form's controls.
// The control is handed back as a reference of its own: a host may build the controls
// collection afresh on every call, so nothing in it outlives the walk otherwise.
ObjectRef ImageBox(const ObjectRef& form) {
  for (const ObjectRef& control : AsHostObject(form).Controls()) {
    const Variant name = AsHostObject(control).Get(u"Name");
    if (name.is(VarType::kText) && SameName(name.text(), u"Image1")) return control;
  }
  throw Error(err::kNoMember);
}

}  // namespace

PhotoState& ThreadPhotoState() { return photo_state; }

std::u16string PhotoFileSystem::Resolve(const std::u16string& path) {
  const char16_t sep = Separator();
  std::u16string out;
  std::size_t pos = 0;
  if (!path.empty() && path[0] == sep) {
    out.push_back(sep);
    pos = 1;
  }
  while (pos <= path.size()) {
    std::size_t end = path.find(sep, pos);
    if (end == std::u16string::npos) end = path.size();
    std::u16string part = path.substr(pos, end - pos);
    if (!part.empty() && part != u"." && part != u"..") {
      if (auto entries = List(out)) {
        const auto found = FindByName(entries->begin(), entries->end(), part, NameOf);
        if (found != entries->end()) part = found->name;
      }
    }
    out += part;
    if (end < path.size()) out.push_back(sep);
    pos = end + 1;
  }
  return out;
}

std::u16string FindPhoto(PhotoFileSystem& fs, std::u16string_view folder,
                         std::u16string_view name) {
  // A name that is no photo name is the photo of nothing; the disk is not asked.
  if (!IsPhotoName(name)) return {};
  const auto entries = fs.List(fs.Resolve(std::u16string(folder)));
  if (!entries) return {};
  for (const DirEntry& e : *entries) {
    if (e.kind == EntryKind::kFile && !e.hidden && IsPhotoOf(e.name, name)) return e.name;
  }
  return {};
}

std::u16string FindFile(PhotoFileSystem& fs, std::u16string_view path) {
  // Windows paths may be written with either slash; a Linux name may hold a backslash.
  std::size_t cut = path.rfind(fs.Separator());
  if (fs.Separator() == u'\\') {
    const std::size_t slash = path.rfind(u'/');
    if (slash != std::u16string_view::npos && (cut == std::u16string_view::npos || slash > cut)) {
      cut = slash;
    }
  }
  const std::u16string folder(cut == std::u16string_view::npos ? std::u16string_view{}
                                                               : path.substr(0, cut + 1));
  const std::u16string_view name = cut == std::u16string_view::npos ? path : path.substr(cut + 1);
  if (name.empty()) return {};
  auto entries = fs.List(fs.Resolve(folder));
  if (!entries) return {};
  std::erase_if(*entries, [](const DirEntry& e) { return e.kind != EntryKind::kFile || e.hidden; });
  const auto found = FindByName(entries->begin(), entries->end(), name, NameOf);
  return found != entries->end() ? found->name : std::u16string();
}

std::u16string JoinPhotoPath(std::u16string_view folder, std::u16string_view name,
                             std::u16string_view extension, char16_t separator) {
  std::u16string path(folder);
  if (path.empty() || path.back() != separator) path.push_back(separator);
  path += name;
  path += extension;
  return path;
}

std::u16string PhotoFolder(char16_t separator) {
  std::u16string folder;
  for (std::u16string_view part : {u"Ponderix", u"Fotos"}) {
    folder.push_back(separator);
    folder += part;
  }
  folder.push_back(separator);
  return folder;
}

void Dolva::Fotografia(std::u16string& Archivo, const ObjectRef& xForma) {
  PhotoFileSystem* fs = services().photo_files.get();
  // Without a disk there is no photo folder either: nothing is found and the image is emptied.
  // A name that is no photo name ("../x", "*") has no photo either, wherever it would point.
  const std::u16string folder = fs ? PhotoFolder(fs->Separator()) : std::u16string();
  const std::u16string found = fs ? FindPhoto(*fs, folder, Archivo) : std::u16string();
  if (found.empty()) {
    NOFoto(xForma);
    return;
  }
  const std::u16string ext = UpperCase(
      std::u16string_view(found).substr(found.size() - std::min<std::size_t>(3, found.size())));
  // Other extensions (jpeg, gif, none) are found but not shown: the form keeps its picture.
  if (ext != u"JPG" && ext != u"BMP") return;
  if (services().pictures == nullptr) throw Error(err::kInvalidPicture);
  // Loaded before the form is touched, so a file that holds no picture leaves the form as it was.
  const ObjectRef picture = services().pictures->Load(fs->Resolve(folder) + found);
  const ObjectRef image_box = ImageBox(xForma);
  HostObject& image = AsHostObject(image_box);
  image.Set(u"Picture", Variant(picture));
  image.Set(u"Stretch", Variant(true));
}

void Dolva::NOFoto(const ObjectRef& xForma) {
  AsHostObject(ImageBox(xForma)).Set(u"Picture", Variant(ObjectRef{}));
}

}  // namespace velmora
