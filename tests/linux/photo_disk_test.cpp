#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "../test_util.h"
#include "fake_photo.h"
#include "linux/photo_disk.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/forms.h"
#include "velmora/photo.h"
#include "velmora/sysinfo.h"
#include "velmora/utf.h"

namespace velmora::linux_platform {
namespace {

namespace fs = std::filesystem;

// A fresh folder standing for the root of the disk, removed afterwards.
class PhotoDisk : public ::testing::Test {
 protected:
  PhotoDisk() {
    std::string templ = (fs::temp_directory_path() / "velmora-photo-XXXXXX").string();
    root = mkdtemp(templ.data());
    fs::create_directories(root / "Ponderix" / "Fotos");
  }
  ~PhotoDisk() override { fs::remove_all(root); }

  void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p) << bytes; }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
  }

  fs::path root;
};

TEST_F(PhotoDisk, ListingTellsFilesFromFoldersAndHiddenOnes) {
  LinuxPhotoFiles disk(root.string());
  const fs::path fotos = root / "Ponderix" / "Fotos";
  Write(fotos / "JUAN.jpg", "x");
  Write(fotos / ".oculta.jpg", "x");
  fs::create_directory(fotos / "ANA.jpg");
  fs::create_symlink(fotos / "JUAN.jpg", fotos / "enlace.jpg");
  fs::create_symlink(fotos / "nada.jpg", fotos / "roto.jpg");
  auto entries = disk.List(u"/Ponderix/Fotos");
  ASSERT_TRUE(entries);
  std::map<std::u16string, std::pair<EntryKind, bool>> seen;
  for (const auto& e : *entries) seen[e.name] = {e.kind, e.hidden};
  using P = std::pair<EntryKind, bool>;
  EXPECT_EQ(seen[u"JUAN.jpg"], P(EntryKind::kFile, false));
  EXPECT_EQ(seen[u".oculta.jpg"], P(EntryKind::kFile, true));
  EXPECT_EQ(seen[u"ANA.jpg"], P(EntryKind::kFolder, false));
  EXPECT_EQ(seen[u"enlace.jpg"], P(EntryKind::kFile, false));
  EXPECT_EQ(seen[u"roto.jpg"], P(EntryKind::kOther, false));
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_FALSE(disk.List(u"/Ponderix/Nada"));
  EXPECT_FALSE(disk.List(u"/Ponderix/Fotos/JUAN.jpg"));
}

TEST_F(PhotoDisk, SearchesIgnoreCaseOnACaseSensitiveDisk) {
  LinuxPhotoFiles disk(root.string());
  Write(root / "Ponderix" / "Fotos" / "juan.JPG", "x");
  struct Case {
    const char16_t* folder;
    const char16_t* name;
    const char16_t* found;
  } cases[] = {
      {u"/Ponderix/Fotos/", u"JUAN", u"juan.JPG"},
      {u"/PONDERIX/FOTOS", u"juan", u"juan.JPG"},
      {u"/ponderix/fotos/", u"PEDRO", u""},
      {u"/ponderix/fotos/", u"J*", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindPhoto(disk, c.folder, c.name), c.found) << ToUtf8(c.folder) << ToUtf8(c.name);
  }
  EXPECT_EQ(FindFile(disk, u"/PONDERIX/FOTOS/JUAN.Jpg"), u"juan.JPG");
  EXPECT_EQ(FindFile(disk, u"/ponderix/fotos/juan.jpg"), u"juan.JPG");
  EXPECT_EQ(FindFile(disk, u"/ponderix/fotos/j*"), u"");
  EXPECT_EQ(disk.Resolve(u"/PONDERIX/FOTOS/JUAN.jpg"), u"/Ponderix/Fotos/juan.JPG");
  EXPECT_EQ(ErrorOf([&] { disk.List(std::u16string(u"/a\0b", 4)); }), err::kInvalidCall);
}

// Several spellings of one name on a case-sensitive disk: the photo family's searches and the
// lookup of System.ini settle on the same file, whatever order the disk lists them in.
TEST_F(PhotoDisk, EveryLookupIgnoringCaseSettlesAlike) {
  LinuxPhotoFiles disk(root.string());
  const fs::path etc = root / "etc";
  fs::create_directory(etc);
  for (const char* name :
       {"system.INI", "SYSTEM.ini", "System.Ini", "sYSTEM.INI", "SYSTEM.INI", "system.Ini"})
    Write(etc / name, name);
  for (const char16_t* wanted : {u"system.ini", u"SYSTEM.INI", u"System.ini"}) {
    const auto profile = FindIgnoringCase(etc, wanted);
    ASSERT_TRUE(profile) << ToUtf8(wanted);
    const std::u16string photo = FindFile(disk, u"/ETC/" + std::u16string(wanted));
    EXPECT_EQ(profile->filename().u16string(), photo) << ToUtf8(wanted);
    EXPECT_EQ(disk.Resolve(u"/etc/" + std::u16string(wanted)), u"/etc/" + photo) << ToUtf8(wanted);
  }
}

TEST_F(PhotoDisk, ReplaceWritesWholeFilesAndKeepsTheOldPermissions) {
  LinuxPhotoFiles disk(root.string());
  const fs::path photo = root / "Ponderix" / "Fotos" / "JUAN.jpg";
  disk.ReplaceFile(u"/Ponderix/Fotos/JUAN.jpg", Bytes("BM primera"));
  EXPECT_EQ(Read(photo), "BM primera");
  chmod(photo.c_str(), 0640);
  disk.ReplaceFile(u"/Ponderix/Fotos/JUAN.jpg", Bytes("BM segunda, más larga"));
  EXPECT_EQ(Read(photo), "BM segunda, más larga");
  struct stat st {};
  ASSERT_EQ(stat(photo.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(photo.parent_path()), std::vector<std::string>{"JUAN.jpg"});
}

// Running as root, permissions stop no write; a file-size limit makes the write itself fail
// half-way, as a full disk would.
TEST_F(PhotoDisk, AFailedWriteLeavesTheOldPhotoWholeAndNoTemporaryFile) {
  LinuxPhotoFiles disk(root.string());
  const fs::path photo = root / "Ponderix" / "Fotos" / "JUAN.jpg";
  Write(photo, "BM la foto de antes");
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 8;
  setrlimit(RLIMIT_FSIZE, &small);
  Error caught(0);
  try {
    disk.ReplaceFile(u"/Ponderix/Fotos/JUAN.jpg", Bytes(std::string(4096, 'B')));
  } catch (const Error& e) {
    caught = e;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(caught.number(), err::kInvalidCall);
  EXPECT_EQ(ToUtf8(caught.description(true)),
            "No se pudo guardar «/Ponderix/Fotos/JUAN.jpg»: El archivo es demasiado grande");
  EXPECT_EQ(Read(photo), "BM la foto de antes");
  EXPECT_EQ(Names(photo.parent_path()), std::vector<std::string>{"JUAN.jpg"});
}

TEST_F(PhotoDisk, ReplaceFailsUnderAFileOrOnAFolder) {
  LinuxPhotoFiles disk(root.string());
  Write(root / "archivo", "x");
  struct Case {
    const char16_t* path;
    const char* reason;
  } cases[] = {
      {u"/archivo/JUAN.jpg", "No se encontró la ruta de acceso"},
      {u"/no/existe/JUAN.jpg", "No se encontró la ruta de acceso"},
      {u"/Ponderix/Fotos", "Ya existe una carpeta con ese nombre"},
  };
  for (const auto& c : cases) {
    try {
      disk.ReplaceFile(c.path, Bytes("BM"));
      ADD_FAILURE() << ToUtf8(c.path);
    } catch (const Error& e) {
      EXPECT_NE(ToUtf8(e.description(true)).find(c.reason), std::string::npos) << ToUtf8(c.path);
    }
  }
  EXPECT_EQ(Read(root / "archivo"), "x");
}

// The temporary file is named apart from the photo: any name the folder takes can be saved,
// up to the 255 bytes of a Linux name (an accented letter takes two).
TEST_F(PhotoDisk, NamesAsLongAsTheFolderTakesAreWrittenThroughAShortTemporaryName) {
  LinuxPhotoFiles disk(root.string());
  const fs::path fotos = root / "Ponderix" / "Fotos";
  struct Case {
    std::u16string name;
  } cases[] = {
      {std::u16string(200, u'A') + u".jpg"},
      {std::u16string(251, u'B') + u".jpg"},
      {std::u16string(125, u'Ñ') + u".jpg"},
  };
  for (const auto& c : cases) {
    disk.ReplaceFile(u"/Ponderix/Fotos/" + c.name, Bytes("BM"));
    EXPECT_EQ(Read(fotos / ToUtf8(c.name)), "BM") << c.name.size();
  }
  EXPECT_EQ(Names(fotos).size(), 3u) << "no temporary file is left behind";
}

TEST_F(PhotoDisk, PathsNeverClimbAboveTheDriveRoot) {
  LinuxPhotoFiles disk(root.string());
  const std::string r = root.string();
  struct Case {
    const char16_t* path;
    std::string system;
  } cases[] = {
      {u"/Ponderix/Fotos/JUAN.jpg", r + "/Ponderix/Fotos/JUAN.jpg"},
      {u"/Ponderix/Fotos/", r + "/Ponderix/Fotos/"},
      {u"/../../etc/passwd", r + "/etc/passwd"},
      {u"/Ponderix/../../../x/", r + "/x/"},
      {u"/./Ponderix//Fotos/./..", r + "/Ponderix"},
      {u"/..", r + "/"},
      {u"/", r + "/"},
      {u"relativo/../x", "relativo/../x"},
  };
  for (const auto& c : cases) EXPECT_EQ(disk.SystemPath(c.path), c.system) << ToUtf8(c.path);
}

// The Linux disk as the photo family uses it, telling where each listing and write went.
class WatchedDisk final : public PhotoFileSystem {
 public:
  explicit WatchedDisk(const fs::path& root) : disk(root.string()) {}
  char16_t Separator() const override { return disk.Separator(); }
  std::optional<std::vector<DirEntry>> List(const std::u16string& folder) override {
    listed.emplace_back(disk.SystemPath(folder));
    return disk.List(folder);
  }
  void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override {
    written.emplace_back(disk.SystemPath(path));
    disk.ReplaceFile(path, bytes);
  }
  LinuxPhotoFiles disk;
  std::vector<fs::path> listed, written;
};

// Bitmap files of the disk become small pictures; anything else is 481.
class DiskPictures final : public PictureLoader {
 public:
  explicit DiskPictures(LinuxPhotoFiles& disk) : disk_(disk) {}
  ObjectRef Load(const std::u16string& path) override {
    std::ifstream in(disk_.SystemPath(path), std::ios::binary);
    char head[2] = {};
    if (!in.read(head, 2) || head[0] != 'B' || head[1] != 'M') throw Error(err::kInvalidPicture);
    return std::make_shared<fakes::FakePicture>(1, 1, 0);
  }

 private:
  LinuxPhotoFiles& disk_;
};

// Answers a message box with Yes or No at random, counting them.
class CoinBox final : public MessageBox {
 public:
  explicit CoinBox(std::mt19937& random) : random_(random) {}
  MsgResult Show(std::u16string_view text, std::u16string_view, MsgIcon,
                 MsgButtons buttons) override {
    if (text.starts_with(CaptureWindow::kBadNameText)) ++refusals;
    if (buttons != MsgButtons::kYesNo) return MsgResult::kOk;
    return random_() % 2 == 0 ? MsgResult::kYes : MsgResult::kNo;
  }
  int refusals = 0;

 private:
  std::mt19937& random_;
};

// Every file and folder under a folder with its contents, but the files right in `skip`.
std::map<std::string, std::string> Snapshot(const fs::path& top, const fs::path& skip) {
  std::map<std::string, std::string> tree;
  for (const auto& e : fs::recursive_directory_iterator(top)) {
    const fs::path& p = e.path();
    if (p.parent_path() == skip && e.is_regular_file()) continue;
    std::string what = e.is_directory() ? "<carpeta>" : "";
    if (e.is_regular_file()) {
      std::ifstream in(p, std::ios::binary);
      what = {std::istreambuf_iterator<char>(in), {}};
    }
    tree[fs::relative(p, top).string()] = what;
  }
  return tree;
}

// Where a path leads, folders followed as far as they exist, without a final separator; a path
// the system cannot even look at (a name too long) is taken by its text.
fs::path Where(const fs::path& p) {
  std::error_code error;
  fs::path where = fs::weakly_canonical(p, error);
  if (error) where = p;
  where = where.lexically_normal();
  return where.filename().empty() ? where.parent_path() : where;
}

// A name drawn from the pieces of paths, patterns, streams, devices and plain names; one in four
// from the plain pieces alone.
std::u16string PathishName(std::mt19937& random) {
  static const std::u16string kPieces[] = {u" ",        u"~1",
                                           u"A",        u"j",
                                           u"Ñ",        u"fuera",
                                           u"SECRETO",  u"Fotos",
                                           u"JUAN",     u"ana",
                                           u"-",        u"CON",
                                           u"nul",      u"COM1",
                                           u".",        u"..",
                                           u"/",        u"\\",
                                           u":",        u"*",
                                           u"?",        u"../",
                                           u"..\\",     u"\x01",
                                           u"\x1F",     u"\x7F",
                                           u"\n",       u"\xD800",
                                           u"\"",       u"<",
                                           u"|",        u"C:",
                                           u"Ponderix", std::u16string(1, u'\0')};
  constexpr std::size_t kPlain = 11;
  const std::size_t choices = random() % 4 == 0 ? kPlain : std::size(kPieces);
  std::u16string name;
  const int pieces = static_cast<int>(random() % 12);
  for (int i = 0; i < pieces; ++i) name += kPieces[random() % choices];
  if (random() % 8 == 0) {
    // A long run of one piece: past the longest name, or over the 255 bytes of the disk.
    const std::u16string& piece = kPieces[random() % std::size(kPieces)];
    for (int i = static_cast<int>(random() % 300); i > 0; --i) name += piece;
  }
  return name;
}

// Names built from the pieces of paths run through PhotoWay (typed into the name box too) and
// Fotografia over the real disk: after each call nothing outside the photo folder has changed,
// every write went right into it and every listing was of it or of a folder on its way.
TEST_F(PhotoDisk, NoNameReachesBeyondThePhotoFolder) {
  const fs::path fotos = root / "Ponderix" / "Fotos";
  Write(fotos / "JUAN.jpg", "BM juan");
  Write(fotos / "ana.BMP", "BM ana");
  fs::create_directories(root / "fuera" / "sub");
  Write(root / "fuera" / "SECRETO.jpg", "BM secreto");
  Write(root / "fuera" / "sub" / "x.jpg", "BM x");
  Write(root / "Ponderix" / "otro.jpg", "BM otro");
  Write(root / "JUAN.jpg", "BM raíz");
  fs::create_directory(fotos / "sub");
  Write(fotos / "sub" / "JUAN.jpg", "BM sub");

  std::mt19937 random(20090315);
  auto disk = std::make_shared<WatchedDisk>(root);
  auto camera = std::make_shared<fakes::FakeCamera>();
  auto host = std::make_shared<fakes::ScriptedCaptureHost>();
  auto boxes = std::make_shared<CoinBox>(random);
  auto s = FixedServices(Date{39887.5});
  s->photo_files = disk;
  s->pictures = std::make_shared<DiskPictures>(disk->disk);
  s->bitmaps = std::make_shared<fakes::FakeBitmapEncoder>();
  s->camera = camera;
  s->message_box = boxes;
  s->capture_window = host;
  Dolva dolva(s);
  auto form = std::make_shared<MemoryForm>();
  form->AddImage(u"Image1");

  const fs::path inside = fs::canonical(fotos);
  const fs::path top = fs::canonical(root);
  const auto before = Snapshot(root, fotos);
  int saved = 0;
  for (int round = 0; round < 400; ++round) {
    disk->listed.clear();
    disk->written.clear();
    const std::u16string name = PathishName(random);
    if (random() % 3 == 0) {
      std::u16string archivo = name;
      dolva.Fotografia(archivo, form);
    } else {
      const bool retype = random() % 2 == 0;
      const std::u16string typed = PathishName(random);
      host->script = [&](CaptureWindow& w) {
        w.SelectSource(PhotoSource::kWebcam);
        w.TakePhoto();
        camera->Feed(std::make_shared<fakes::FakePicture>(1, 1, static_cast<std::uint32_t>(round)));
        w.Click();
        if (retype) w.EditName(typed);
        w.Save();
      };
      std::u16string nombre = name;
      std::u16string ruta = random() % 2 == 0 ? u"/Ponderix/Fotos" : u"/PONDERIX/FOTOS/";
      ThreadPhotoState().path.clear();
      const std::u16string path = dolva.PhotoWay(nombre, ruta);
      // A photo saved or kept is a file of the photo folder, named as the disk has it.
      if (!path.empty()) {
        std::error_code error;
        const fs::path file = fs::canonical(disk->disk.SystemPath(path), error);
        EXPECT_FALSE(error) << ToUtf8(path) << " names no file";
        EXPECT_EQ(file.parent_path(), inside) << ToUtf8(path);
      }
      saved += static_cast<int>(disk->written.size());
    }
    ASSERT_EQ(Snapshot(root, fotos), before) << "round " << round << ": " << ToUtf8(name);
    for (const auto& p : disk->written) {
      EXPECT_EQ(Where(p).parent_path(), inside) << p;
    }
    for (const auto& p : disk->listed) {
      const fs::path where = Where(p);
      const auto on_way = std::mismatch(where.begin(), where.end(), inside.begin(), inside.end());
      EXPECT_TRUE(on_way.first == where.end() && where.string().starts_with(top.string()))
          << p << " is neither the photo folder nor on its way";
    }
  }
  for (const auto& e : fs::directory_iterator(fotos)) {
    EXPECT_TRUE(e.is_regular_file() || e.path().filename() == "sub") << e.path();
    EXPECT_NE(e.path().filename().string().front(), '.') << "a temporary file was left behind";
  }
  // Not vacuous: some names were saved, some refused.
  EXPECT_GT(saved, 10);
  EXPECT_GT(boxes->refusals, 50);
}

// The path of a saved photo opens: the folder as the disk spells it, not as PhotoWay upper-cased
// it, and the name as saved.
TEST_F(PhotoDisk, PhotoWayReturnsThePathOfTheFileAsItIsOnDisk) {
  auto disk = std::make_shared<LinuxPhotoFiles>(root.string());
  auto camera = std::make_shared<fakes::FakeCamera>();
  auto host = std::make_shared<fakes::ScriptedCaptureHost>();
  auto s = FixedServices(Date{39887.5});
  s->photo_files = disk;
  s->bitmaps = std::make_shared<fakes::FakeBitmapEncoder>();
  s->camera = camera;
  std::mt19937 random;
  s->message_box = std::make_shared<CoinBox>(random);
  s->capture_window = host;
  Dolva dolva(s);
  host->script = [&](CaptureWindow& w) {
    w.SelectSource(PhotoSource::kWebcam);
    w.TakePhoto();
    camera->Feed(std::make_shared<fakes::FakePicture>(2, 2, 5));
    w.Click();
    w.Save();
  };
  std::u16string nombre = u" ana ", ruta = u"/Ponderix/Fotos";
  const std::u16string path = dolva.PhotoWay(nombre, ruta);
  EXPECT_EQ(path, u"/Ponderix/Fotos/ANA.jpg");
  EXPECT_EQ(Read(disk->SystemPath(path)).substr(0, 2), "BM");
}

}  // namespace
}  // namespace velmora::linux_platform
