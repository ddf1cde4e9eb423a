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

#include "../test_util.h"
#include "linux/photo_disk.h"
#include "velmora/error.h"
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

}  // namespace
}  // namespace velmora::linux_platform
