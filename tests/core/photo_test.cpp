#include <gtest/gtest.h>

#include <deque>

#include "../test_util.h"
#include "fake_photo.h"
#include "velmora/dispatch.h"
#include "velmora/dolva.h"
#include "velmora/error.h"
#include "velmora/photo.h"

namespace velmora {
namespace {

using fakes::FakePicture;

// Records the boxes shown and answers the scripted buttons, then the first button of each box.
class ScriptedBoxes final : public MessageBox {
 public:
  struct Box {
    std::u16string text, title;
    MsgIcon icon;
    MsgButtons buttons;
  };
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override {
    shown_.push_back({std::u16string(text), std::u16string(title), icon, buttons});
    if (script_.empty()) return buttons == MsgButtons::kYesNo ? MsgResult::kYes : MsgResult::kOk;
    const MsgResult answer = script_.front();
    script_.pop_front();
    return answer;
  }
  void Answer(MsgResult r) { script_.push_back(r); }
  const std::vector<Box>& shown() const { return shown_; }

 private:
  std::deque<MsgResult> script_;
  std::vector<Box> shown_;
};

class CountingPump final : public EventPump {
 public:
  void ProcessPending() override { ++count_; }
  int count() const { return count_; }

 private:
  int count_ = 0;
};

// A host form holding an image box "Image1" (and a text box before it), counting the writes.
class ImageControl final : public HostObject {
 public:
  explicit ImageControl(std::u16string name) : name_(std::move(name)) {}
  Variant Get(std::u16string_view member) override {
    if (SameName(member, u"Name")) return Variant(name_);
    if (SameName(member, u"Picture") && has_picture) return Variant(picture);
    if (SameName(member, u"Stretch") && has_picture) return Variant(stretch);
    throw Error(err::kNoMember);
  }
  void Set(std::u16string_view member, const Variant& value) override {
    if (SameName(member, u"Picture") && has_picture) {
      picture = value.object();
      ++picture_writes;
    } else if (SameName(member, u"Stretch") && has_picture) {
      stretch = value.boolean();
    } else {
      throw Error(err::kNoMember);
    }
  }
  std::vector<ObjectRef> Controls() override { throw Error(err::kNoMember); }

  bool has_picture = true;
  ObjectRef picture;
  bool stretch = false;
  int picture_writes = 0;

 private:
  std::u16string name_;
};

class ImageForm final : public HostObject {
 public:
  ImageForm()
      : text_(std::make_shared<ImageControl>(u"txtNombre")),
        image(std::make_shared<ImageControl>(u"image1")) {
    text_->has_picture = false;
  }
  Variant Get(std::u16string_view) override { throw Error(err::kNoMember); }
  void Set(std::u16string_view, const Variant&) override { throw Error(err::kNoMember); }
  std::vector<ObjectRef> Controls() override { return {text_, image}; }

 private:
  std::shared_ptr<ImageControl> text_;

 public:
  std::shared_ptr<ImageControl> image;
};

// A form whose controls collection hands out fresh wrappers on every call, as a COM host's
// does: nothing it returns is kept alive by the form itself.
class WrappingForm final : public HostObject {
  class Wrapper final : public HostObject {
   public:
    explicit Wrapper(std::shared_ptr<ImageControl> inner) : inner_(std::move(inner)) {}
    Variant Get(std::u16string_view m) override { return inner_->Get(m); }
    void Set(std::u16string_view m, const Variant& v) override { inner_->Set(m, v); }
    std::vector<ObjectRef> Controls() override { return inner_->Controls(); }

   private:
    std::shared_ptr<ImageControl> inner_;
  };

 public:
  Variant Get(std::u16string_view) override { throw Error(err::kNoMember); }
  void Set(std::u16string_view, const Variant&) override { throw Error(err::kNoMember); }
  std::vector<ObjectRef> Controls() override { return {std::make_shared<Wrapper>(image)}; }

  std::shared_ptr<ImageControl> image = std::make_shared<ImageControl>(u"Image1");
};

std::vector<std::uint8_t> Bitmap(std::uint32_t rgb) {
  return fakes::FakeBitmapEncoder().BitmapFile(std::make_shared<FakePicture>(2, 2, rgb));
}
const std::vector<std::uint8_t> kJpegBytes = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F'};

std::string Text(const std::optional<std::vector<std::uint8_t>>& bytes) {
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

// A Dolva on a full set of fakes, with a fresh photo state for each test.
class Photo : public ::testing::Test {
 protected:
  Photo() {
    auto s = FixedServices(MakeDate({2009, 3, 15}, {10, 0, 0}));
    s->photo_files = disk;
    s->pictures = loader;
    s->bitmaps = std::make_shared<fakes::FakeBitmapEncoder>();
    s->camera = camera;
    s->file_dialog = dialog;
    s->message_box = boxes;
    s->events = events;
    s->capture_window = host;
    services = s;
    dolva = std::make_unique<Dolva>(services);
    ThreadPhotoState() = {};
  }

  std::u16string PhotoWay(std::u16string name, std::u16string folder,
                          std::function<void(CaptureWindow&)> script) {
    host->script = std::move(script);
    return dolva->PhotoWay(name, folder);
  }
  // Webcam mode, a still of the given colour, then "Guardar".
  std::function<void(CaptureWindow&)> TakeAndSave(std::uint32_t rgb) {
    return [this, rgb](CaptureWindow& w) {
      w.SelectSource(PhotoSource::kWebcam);
      w.TakePhoto();
      camera->Feed(std::make_shared<FakePicture>(2, 2, rgb));
      w.Click();
      w.Save();
    };
  }

  std::shared_ptr<fakes::FakeDisk> disk = std::make_shared<fakes::FakeDisk>();
  std::shared_ptr<fakes::FakePictureLoader> loader =
      std::make_shared<fakes::FakePictureLoader>(disk);
  std::shared_ptr<fakes::FakeCamera> camera = std::make_shared<fakes::FakeCamera>();
  std::shared_ptr<fakes::ScriptedFileDialog> dialog = std::make_shared<fakes::ScriptedFileDialog>();
  std::shared_ptr<ScriptedBoxes> boxes = std::make_shared<ScriptedBoxes>();
  std::shared_ptr<CountingPump> events = std::make_shared<CountingPump>();
  std::shared_ptr<fakes::ScriptedCaptureHost> host = std::make_shared<fakes::ScriptedCaptureHost>();
  std::shared_ptr<const Services> services;
  std::unique_ptr<Dolva> dolva;
  std::shared_ptr<ImageForm> form = std::make_shared<ImageForm>();
};

TEST(PhotoNames, PlainNamesAreAcceptedPathsPatternsAndDevicesRefused) {
  using F = PhotoNameFault;
  const std::u16string longest(kMaxPhotoName, u'x');
  struct Case {
    std::u16string name;
    PhotoNameFault fault;
  } cases[] = {
      {u"JUAN", F::kNone},
      {u" juan pérez ", F::kNone},
      {u"ñandú", F::kNone},
      {u"O'Brien, José", F::kNone},
      {u"JUAN.X", F::kNone},
      {u"[2009] ana_b-c", F::kNone},
      {u"€ \U0001F600", F::kNone},
      {u"CONSUELO", F::kNone},
      {u"COM10", F::kNone},
      {u"LPT", F::kNone},
      {u"NULO.X", F::kNone},
      {u"CON_X", F::kNone},
      {u"PEDRO~A", F::kNone},
      {u"PEDROPE~1", F::kNone},
      {u"AB~1.X", F::kNone},
      {longest, F::kNone},
      {u"  " + longest + u"  ", F::kNone},
      {u"", F::kEmpty},
      {u"   ", F::kEmpty},
      {longest + u"x", F::kTooLong},
      {u"../../fuera/MALO", F::kSeparator},
      {u"..\\x", F::kSeparator},
      {u"\\\\servidor\\recurso", F::kSeparator},
      {u"/etc/passwd", F::kSeparator},
      {u"x/", F::kSeparator},
      {u"C:x", F::kReserved},
      {u"a:b", F::kReserved},
      {u"JUAN::$DATA", F::kReserved},
      {u"*", F::kReserved},
      {u"J?AN", F::kReserved},
      {u"a\"b", F::kReserved},
      {u"a<b", F::kReserved},
      {u"a>b", F::kReserved},
      {u"a|b", F::kReserved},
      {u"a\nb", F::kControl},
      {u"\x01", F::kControl},
      {u"a\x1F", F::kControl},
      {u"a\x7F", F::kControl},
      {std::u16string(u"a\0b", 3), F::kControl},
      {u"a\xD800", F::kBrokenText},
      {u"\xDC00x", F::kBrokenText},
      {u"\xD800\xD800", F::kBrokenText},
      {u".", F::kDots},
      {u" .. ", F::kDots},
      {u"...", F::kDots},
      {u".oculto", F::kDots},
      {u"ANA.", F::kDots},
      {u"CON", F::kDevice},
      {u"con", F::kDevice},
      {u"Nul", F::kDevice},
      {u"PRN", F::kDevice},
      {u"AUX", F::kDevice},
      {u"COM1", F::kDevice},
      {u"com9", F::kDevice},
      {u"COM0", F::kDevice},
      {u"LPT1", F::kDevice},
      {u"lpt9", F::kDevice},
      {u"COM\u00B9", F::kDevice},
      {u"LPT\u00B3", F::kDevice},
      {u"CON.X", F::kDevice},
      {u"nul .jpg", F::kDevice},
      {u"con.tar.gz", F::kDevice},
      {u"CONIN$", F::kDevice},
      {u"conout$", F::kDevice},
      {u"PEDRO~1", F::kShortName},
      {u"ab~12345", F::kShortName},
      {u"~1", F::kShortName},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckPhotoName(c.name), c.fault) << U8(c.name);
    EXPECT_EQ(IsPhotoName(c.name), c.fault == F::kNone) << U8(c.name);
    EXPECT_EQ(PhotoNameFaultText(c.fault).empty(), c.fault == F::kNone) << U8(c.name);
  }
}

TEST(PhotoSearch, APhotoIsTheNameOrTheNameAndAnExtensionNeverAPattern) {
  struct Case {
    const char16_t* file;
    const char16_t* name;
    bool is_photo;
  } cases[] = {
      {u"JUAN.jpg", u"JUAN", true},     {u"juan.JPG", u"JUAN", true},
      {u"JUAN", u"juan", true},         {u"JUAN.tar.gz", u"JUAN", true},
      {u"JUAN.", u"JUAN", true},        {u"JOSÉ.jpg", u"josé", true},
      {u"JUAN.X.jpg", u"JUAN.X", true}, {u"JUANA.jpg", u"JUAN", false},
      {u"xJUAN.jpg", u"JUAN", false},   {u"JUA.jpg", u"JUAN", false},
      {u"JUAN.jpg", u"J?AN", false},    {u"JUAN.jpg", u"*", false},
      {u"J?AN.jpg", u"J?AN", true},     {u"JUAN.jpg", u"JUAN.*", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPhotoOf(c.file, c.name), c.is_photo) << U8(c.file) << " of " << U8(c.name);
  }
}

TEST(PhotoSearch, FirstVisibleFileInListingOrderIgnoringCase) {
  fakes::FakeDisk disk;
  disk.AddFolder(u"/Ponderix/Fotos/JUAN.jpg");  // a folder by the name: never matched
  disk.AddFile(u"/Ponderix/Fotos/JUAN.bmp", {}, /*hidden=*/true);
  disk.AddFile(u"/Ponderix/Fotos/JUAN.txt", {});
  disk.AddFile(u"/Ponderix/Fotos/JUAN.jpg.bak", {});
  disk.AddFile(u"/Ponderix/Fotos/J*.jpg", {});
  struct Case {
    const char16_t* folder;
    const char16_t* name;
    const char16_t* found;
  } cases[] = {
      {u"/Ponderix/Fotos/", u"JUAN", u"JUAN.txt"},
      {u"/PONDERIX/fotos", u"juan", u"JUAN.txt"},
      {u"/Ponderix/Fotos/", u"JUAN.jpg", u"JUAN.jpg.bak"},
      {u"/Ponderix/Otras/", u"JUAN", u""},
      {u"/Ponderix/Fotos/", u"", u""},
      {u"/Ponderix/Fotos/", u"J*", u""},
      {u"/Ponderix/Fotos/", u"../Fotos/JUAN", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindPhoto(disk, c.folder, c.name), c.found) << U8(c.folder) << " " << U8(c.name);
  }
}

TEST(PhotoSearch, OnePathIsFoundByItsWholeNameIgnoringCase) {
  fakes::FakeDisk disk;
  disk.AddFile(u"/Ponderix/Fotos/JUAN.jpg", {});
  disk.AddFile(u"/Ponderix/Fotos/OCULTA.jpg", {}, /*hidden=*/true);
  disk.AddFolder(u"/Ponderix/Fotos/CARPETA.jpg");
  struct Case {
    const char16_t* path;
    const char16_t* found;
  } cases[] = {
      {u"/Ponderix/Fotos/JUAN.jpg", u"JUAN.jpg"},
      {u"/PONDERIX/FOTOS/juan.JPG", u"JUAN.jpg"},
      {u"/Ponderix/Fotos/J*.jpg", u""},
      {u"/Ponderix/Fotos/J?AN.jpg", u""},
      {u"/Ponderix/Fotos/JUAN", u""},
      {u"/Ponderix/Fotos/JUAN.*", u""},
      {u"/Ponderix/Fotos/OCULTA.jpg", u""},
      {u"/Ponderix/Fotos/CARPETA.jpg", u""},
      {u"/Ponderix/Fotos/", u""},
      {u"Ponderix/Fotos/JUAN.jpg", u"JUAN.jpg"},
  };
  for (const auto& c : cases) EXPECT_EQ(FindFile(disk, c.path), c.found) << U8(c.path);
}

TEST(PhotoSearch, ResolvePrefersTheExactSpellingThenAnyCase) {
  fakes::FakeDisk disk;
  disk.AddFile(u"/fotos/Juan.JPG", {});
  disk.AddFile(u"/FOTOS/JUAN.jpg", {});
  struct Case {
    const char16_t* path;
    const char16_t* resolved;
  } cases[] = {
      {u"/FOTOS/JUAN.jpg", u"/FOTOS/JUAN.jpg"},   {u"/fotos/JUAN.JPG", u"/fotos/Juan.JPG"},
      {u"/Fotos/nuevo.jpg", u"/fotos/nuevo.jpg"}, {u"/otra/x/", u"/otra/x/"},
      {u"fotos/./juan.jpg", u"fotos/./Juan.JPG"},
  };
  for (const auto& c : cases) EXPECT_EQ(disk.Resolve(c.path), c.resolved) << U8(c.path);
}

// A case-sensitive disk may hold several spellings of one name: the search for a file and the
// spelling of its path settle on the same one, the exact spelling first, else the first listed.
TEST(PhotoSearch, SeveralSpellingsSettleOnTheExactOneElseTheFirstListed) {
  fakes::FakeDisk disk;
  disk.AddFile(u"/F/juan.JPG", {});
  disk.AddFile(u"/F/JUAN.jpg", {});
  struct Case {
    const char16_t* path;
    const char16_t* found;
    const char16_t* resolved;
  } cases[] = {
      {u"/F/JUAN.jpg", u"JUAN.jpg", u"/F/JUAN.jpg"},
      {u"/F/juan.JPG", u"juan.JPG", u"/F/juan.JPG"},
      {u"/F/JuAn.JpG", u"juan.JPG", u"/F/juan.JPG"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindFile(disk, c.path), c.found) << U8(c.path);
    EXPECT_EQ(disk.Resolve(c.path), c.resolved) << U8(c.path);
  }
}

TEST(PhotoSearch, PathsJoinWithOneSeparator) {
  EXPECT_EQ(JoinPhotoPath(u"/FOTOS", u"JUAN", u".jpg", u'/'), u"/FOTOS/JUAN.jpg");
  EXPECT_EQ(JoinPhotoPath(u"/FOTOS/", u"JUAN", u".jpg", u'/'), u"/FOTOS/JUAN.jpg");
  EXPECT_EQ(JoinPhotoPath(u"", u"JUAN", u".jpg", u'/'), u"/JUAN.jpg");
  EXPECT_EQ(JoinPhotoPath(u"C:\\FOTOS", u"JUAN", u".Jpg", u'\\'), u"C:\\FOTOS\\JUAN.Jpg");
  EXPECT_EQ(PhotoFolder(u'/'), u"/Ponderix/Fotos/");
  EXPECT_EQ(PhotoFolder(u'\\'), u"\\Ponderix\\Fotos\\");
}

TEST_F(Photo, FotografiaShowsTheFirstMatchWhenItIsAJpgOrBmp) {
  const auto earlier = std::make_shared<FakePicture>(1, 1, 0x123456);
  struct Case {
    std::vector<std::u16string> files;  // in listing order
    const char16_t* archivo;
    std::uint32_t shown;  // colour of the picture shown; 0 for emptied, 1 for unchanged
  } cases[] = {
      {{u"X.bmp", u"X.jpg"}, u"X", 0xB},
      {{u"X.jpg", u"X.bmp"}, u"X", 0xA},
      {{u"X.JPG"}, u"x", 0xA},
      {{u"x.Bmp"}, u"X", 0xB},
      {{u"X.txt"}, u"X", 1},
      {{u"X.jpeg"}, u"X", 1},
      {{u"X"}, u"X", 1},
      {{u"XY.jpg"}, u"X", 0},
      {{}, u"X", 0},
  };
  for (const auto& c : cases) {
    disk = std::make_shared<fakes::FakeDisk>();
    auto s = std::make_shared<Services>(*services);
    s->photo_files = disk;
    s->pictures = std::make_shared<fakes::FakePictureLoader>(disk);
    Dolva d(s);
    for (const auto& f : c.files) {
      const bool bmp = UpperCase(f).ends_with(u"BMP");
      disk->AddFile(u"/Ponderix/Fotos/" + f, Bitmap(bmp ? 0xB : 0xA));
    }
    form->image->picture = earlier;
    form->image->stretch = false;
    std::u16string archivo = c.archivo;
    d.Fotografia(archivo, form);
    const auto* shown = dynamic_cast<const FakePicture*>(form->image->picture.get());
    if (c.shown == 0) {
      EXPECT_EQ(form->image->picture, nullptr) << U8(c.archivo);
    } else if (c.shown == 1) {
      EXPECT_EQ(form->image->picture, earlier);
      EXPECT_EQ(form->image->picture_writes, 0);
    } else {
      ASSERT_NE(shown, nullptr);
      EXPECT_EQ(shown->rgb(), c.shown);
      EXPECT_TRUE(form->image->stretch);
    }
    form->image->picture_writes = 0;
  }
}

TEST_F(Photo, FotografiaOfAFileThatIsNoPictureIs481AndKeepsThePicture) {
  disk->AddFile(u"/Ponderix/Fotos/ANA.jpg", {'h', 'o', 'l', 'a'});
  const auto earlier = std::make_shared<FakePicture>(1, 1, 7);
  form->image->picture = earlier;
  std::u16string archivo = u"ANA";
  EXPECT_EQ(ErrorOf([&] { dolva->Fotografia(archivo, form); }), err::kInvalidPicture);
  EXPECT_EQ(form->image->picture, earlier);
  EXPECT_FALSE(form->image->stretch);
}

TEST_F(Photo, FotografiaAndNOFotoNeedAnImage1) {
  disk->AddFile(u"/Ponderix/Fotos/ANA.jpg", Bitmap(1));
  auto no_image = std::make_shared<ImageForm>();
  no_image->image->has_picture = false;  // an "Image1" without "Picture"
  std::u16string archivo = u"ANA";
  EXPECT_EQ(ErrorOf([&] { dolva->Fotografia(archivo, no_image); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { dolva->NOFoto(std::make_shared<ImageControl>(u"x")); }), err::kNoMember);
  EXPECT_EQ(ErrorOf([&] { dolva->NOFoto(nullptr); }), err::kObjectRequired);
}

TEST_F(Photo, FotografiaAndNOFotoThroughControlsMadeAfreshOnEachCall) {
  disk->AddFile(u"/Ponderix/Fotos/ANA.bmp", Bitmap(0xB));
  auto wrapping = std::make_shared<WrappingForm>();
  std::u16string archivo = u"ANA";
  dolva->Fotografia(archivo, wrapping);
  const auto* shown = dynamic_cast<const FakePicture*>(wrapping->image->picture.get());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->rgb(), 0xBu);
  EXPECT_TRUE(wrapping->image->stretch);
  dolva->NOFoto(wrapping);
  EXPECT_EQ(wrapping->image->picture, nullptr);
}

TEST_F(Photo, NOFotoEmptiesThePictureAndLeavesStretch) {
  form->image->picture = std::make_shared<FakePicture>(1, 1, 7);
  form->image->stretch = true;
  dolva->NOFoto(form);
  EXPECT_EQ(form->image->picture, nullptr);
  EXPECT_TRUE(form->image->stretch);
}

TEST_F(Photo, PhotoWayTrimsAndUpperCasesButLeavesTheCallersTexts) {
  std::vector<Argument> args(2);
  args[0].value = Variant(u"  josé pérez ");
  args[1].value = Variant(u" /fotos ");
  host->script = [](CaptureWindow& w) {
    EXPECT_EQ(w.name_text(), u"JOSÉ PÉREZ");
    EXPECT_EQ(w.folder_text(), u"/FOTOS");
  };
  Invoke(*dolva, u"PhotoWay", args);
  EXPECT_EQ(host->shown, 1);
  EXPECT_FALSE(args[0].written);
  EXPECT_FALSE(args[1].written);
  EXPECT_EQ(ThreadPhotoState().name, u"JOSÉ PÉREZ");
}

// The path PhotoWay returns names the file as the disk has it: on a disk that minds case, the
// upper-cased folder it was given would name no file.
TEST_F(Photo, SavedPhotoIsABitmapUnderTheNameAndFolder) {
  disk->AddFolder(u"/fotos");
  EXPECT_EQ(PhotoWay(u" juan ", u"/fotos", TakeAndSave(0x00FF00)), u"/fotos/JUAN.jpg");
  EXPECT_TRUE(host->closed_by_request);
  const auto saved = disk->Read(u"/fotos/JUAN.jpg");
  ASSERT_TRUE(saved);
  EXPECT_EQ(Text(saved).substr(0, 2), "BM");
  EXPECT_TRUE(boxes->shown().empty());
  // The next window closed with its close box returns the same path again.
  EXPECT_EQ(PhotoWay(u"otro", u"/fotos", nullptr), u"/fotos/JUAN.jpg");
  EXPECT_FALSE(host->closed_by_request);
}

TEST_F(Photo, ReplaceQuestionDecidesWhetherTheOldPhotoStays) {
  struct Case {
    MsgResult answer;
    bool replaced;
  } cases[] = {{MsgResult::kYes, true}, {MsgResult::kNo, false}};
  for (const auto& c : cases) {
    disk = std::make_shared<fakes::FakeDisk>();
    auto s = std::make_shared<Services>(*services);
    s->photo_files = disk;
    dolva = std::make_unique<Dolva>(s);
    // Stored as "juan.JPG": the search and the save must find it whatever the case.
    disk->AddFile(u"/fotos/juan.JPG", Bitmap(0x111111));
    boxes->Answer(c.answer);
    EXPECT_EQ(PhotoWay(u"juan", u"/fotos", TakeAndSave(0x222222)), u"/fotos/juan.JPG");
    ASSERT_FALSE(boxes->shown().empty());
    EXPECT_EQ(boxes->shown().back().text, CaptureWindow::kReplaceText);
    EXPECT_EQ(boxes->shown().back().title, u"Precaución");
    EXPECT_EQ(boxes->shown().back().buttons, MsgButtons::kYesNo);
    EXPECT_EQ(boxes->shown().back().icon, MsgIcon::kInformation);
    EXPECT_EQ(Text(disk->Read(u"/fotos/juan.JPG")), Text(Bitmap(c.replaced ? 0x222222 : 0x111111)));
    EXPECT_EQ(disk->List(u"/fotos")->size(), 1u) << "no second spelling of the photo";
    EXPECT_TRUE(host->closed_by_request);
  }
}

TEST_F(Photo, WebcamModeReturnsAnExistingPhotoEvenWhenClosedAtOnce) {
  disk->AddFile(u"/fotos/juan.jpg", Bitmap(1));
  EXPECT_EQ(PhotoWay(u"Juan", u"/Fotos/",
                     [](CaptureWindow& w) {
                       w.SelectSource(PhotoSource::kWebcam);
                       w.TakePhoto();
                       EXPECT_EQ(w.stage(), CaptureStage::kLive);
                     }),
            u"/fotos/juan.jpg");
  EXPECT_FALSE(host->closed_by_request);
}

TEST_F(Photo, EditedNameIsStoredWhileTheCheckUsedTheGivenName) {
  disk->AddFolder(u"/fotos");
  disk->AddFile(u"/fotos/PEDRO.jpg", Bitmap(1));
  const auto result = PhotoWay(u"juan", u"/fotos", [this](CaptureWindow& w) {
    w.SelectSource(PhotoSource::kWebcam);
    w.TakePhoto();
    camera->Feed(std::make_shared<FakePicture>(2, 2, 9));
    w.Click();
    w.EditName(u"Pedro");
    w.Save();
  });
  EXPECT_EQ(result, u"/fotos/PEDRO.jpg");
  EXPECT_EQ(boxes->shown().size(), 1u);  // replace PEDRO.jpg?
  EXPECT_EQ(Text(disk->Read(u"/fotos/PEDRO.jpg")), Text(Bitmap(9)));
  EXPECT_FALSE(disk->Read(u"/fotos/JUAN.jpg"));
}

TEST_F(Photo, SaveWithAnEmptyFolderWritesAtTheRoot) {
  EXPECT_EQ(PhotoWay(u"ana", u"  ", TakeAndSave(5)), u"/ANA.jpg");
  EXPECT_TRUE(disk->Read(u"/ANA.jpg"));
}

TEST_F(Photo, FailedSaveIsTriedOnceMoreAndKeepsTheWindowOpen) {
  disk->AddFolder(u"/fotos");
  disk->failing_writes = 1;
  ThreadPhotoState().path = u"antes";
  EXPECT_EQ(PhotoWay(u"juan", u"/fotos",
                     [this](CaptureWindow& w) {
                       TakeAndSave(0x222222)(w);
                       EXPECT_EQ(w.status_text(), u"Foto Guardada ...");
                       EXPECT_EQ(w.stage(), CaptureStage::kLive);
                     }),
            u"antes");
  EXPECT_FALSE(host->closed_by_request);
  EXPECT_EQ(Text(disk->Read(u"/fotos/JUAN.jpg")), Text(Bitmap(0x222222)));
  EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(Photo, SaveThatFailsTwiceIsReportedAndLeavesTheOldPhoto) {
  disk->AddFile(u"/fotos/JUAN.jpg", Bitmap(0x111111));
  disk->failing_writes = 2;
  boxes->Answer(MsgResult::kYes);
  EXPECT_EQ(PhotoWay(u"juan", u"/fotos",
                     [this](CaptureWindow& w) {
                       TakeAndSave(0x222222)(w);
                       EXPECT_EQ(w.stage(), CaptureStage::kCaptured);
                       EXPECT_EQ(w.status_text(), u"");
                     }),
            u"/fotos/JUAN.jpg");  // what the webcam check found, not what Guardar wrote
  EXPECT_EQ(Text(disk->Read(u"/fotos/JUAN.jpg")), Text(Bitmap(0x111111)));
  ASSERT_EQ(boxes->shown().size(), 2u);
  EXPECT_EQ(boxes->shown()[1].title, u"Cámara Fotográfica");
  EXPECT_EQ(boxes->shown()[1].icon, MsgIcon::kCritical);
  EXPECT_NE(boxes->shown()[1].text.find(u"/FOTOS/JUAN.jpg"), std::u16string::npos);
  EXPECT_NE(boxes->shown()[1].text.find(u"No queda espacio en el disco"), std::u16string::npos);
}

TEST_F(Photo, SaveWithoutAStillIsReported) {
  camera->present = false;
  disk->AddFolder(u"/fotos");
  EXPECT_EQ(PhotoWay(u"juan", u"/fotos", TakeAndSave(1)), u"");
  EXPECT_FALSE(disk->Read(u"/fotos/JUAN.jpg"));
  ASSERT_EQ(boxes->shown().size(), 1u);
  EXPECT_EQ(boxes->shown()[0].icon, MsgIcon::kCritical);
}

TEST_F(Photo, FileModeOutcomes) {
  disk->AddFile(u"/home/ana/Mi Foto.BMP", Bitmap(1));
  struct Case {
    const char16_t* chosen;  // the dialog's answer
    const char16_t* result;
    bool closed;
  } cases[] = {
      {u"", u"", true},
      {u"   ", u"", true},
      {u"/home/ana/mi foto.bmp", u"/home/ana/mi foto.bmp", true},
      {u"/home/ana/otra.jpg", u"antes", false},
  };
  for (const auto& c : cases) {
    ThreadPhotoState().path = u"antes";
    dialog->Answer(c.chosen);
    CaptureStage stage{};
    EXPECT_EQ(PhotoWay(u"ana", u"/fotos",
                       [&](CaptureWindow& w) {
                         w.SelectSource(PhotoSource::kFile);
                         w.TakePhoto();
                         stage = w.stage();
                       }),
              c.result)
        << U8(c.chosen);
    EXPECT_EQ(host->closed_by_request, c.closed);
    EXPECT_EQ(stage, c.closed ? CaptureStage::kClosed : CaptureStage::kChoosing);
  }
  ASSERT_EQ(dialog->requests().size(), 4u);
  EXPECT_EQ(dialog->requests()[0].title, u"Busca la Fotografía del Usuario");
  EXPECT_EQ(dialog->requests()[0].filter, u"Fotografías |*.Jpg;*.Bmp");
  EXPECT_EQ(dialog->requests()[0].initial_name, u"");
  EXPECT_FALSE(disk->Read(u"/fotos/ANA.jpg")) << "the chosen file is not copied";
}

TEST_F(Photo, FailuresOfTheDialogAndTheSearchAreReported) {
  struct Case {
    PhotoSource source;
    bool dialog_fails;
  } cases[] = {
      {PhotoSource::kFile, true}, {PhotoSource::kFile, false}, {PhotoSource::kWebcam, false}};
  for (const auto& c : cases) {
    dialog->failing = c.dialog_fails;
    disk->failing_lists = !c.dialog_fails;
    dialog->Answer(u"/x.jpg");
    const auto before = boxes->shown().size();
    PhotoWay(u"ana", u"/fotos", [&](CaptureWindow& w) {
      w.SelectSource(c.source);
      w.TakePhoto();
      EXPECT_NE(w.stage(), CaptureStage::kClosed);
    });
    ASSERT_EQ(boxes->shown().size(), before + 1);
    EXPECT_EQ(boxes->shown().back().icon, MsgIcon::kCritical);
  }
}

TEST_F(Photo, NoSourceChosenShowsTheSelectionError) {
  PhotoWay(u"ana", u"/fotos", [](CaptureWindow& w) {
    w.TakePhoto();
    EXPECT_EQ(w.stage(), CaptureStage::kChoosing);
  });
  ASSERT_EQ(boxes->shown().size(), 1u);
  EXPECT_EQ(boxes->shown()[0].text,
            u"Indique el modo de obtener la Fotografía, por favor, Gracias...");
  EXPECT_EQ(boxes->shown()[0].title, u"ERROR DE SELECCIÓN");
  EXPECT_EQ(boxes->shown()[0].buttons, MsgButtons::kOk);
  EXPECT_EQ(boxes->shown()[0].icon, MsgIcon::kInformation);
}

TEST_F(Photo, WindowStagesFollowTheButtons) {
  PhotoWay(u"ana", u"/fotos", [this](CaptureWindow& w) {
    EXPECT_EQ(w.stage(), CaptureStage::kChoosing);
    EXPECT_FALSE(w.still_visible());
    EXPECT_FALSE(w.save_visible());
    EXPECT_EQ(w.status_text(), u"");
    w.SelectSource(PhotoSource::kWebcam);
    w.TakePhoto();
    EXPECT_EQ(w.stage(), CaptureStage::kLive);
    EXPECT_FALSE(w.panel_visible());
    camera->Feed(std::make_shared<FakePicture>(2, 2, 1));
    w.Click();
    EXPECT_EQ(w.stage(), CaptureStage::kCaptured);
    EXPECT_TRUE(w.save_visible() && w.clear_visible() && w.still_visible());
    w.Clear();
    EXPECT_EQ(w.stage(), CaptureStage::kLive);
    EXPECT_FALSE(w.save_visible() || w.clear_visible() || w.still_visible());
  });
}

TEST_F(Photo, CameraConnectsOnLoadFeedsTheLiveImageAndIsReleased) {
  PhotoWay(u"ana", u"/fotos", [this](CaptureWindow& w) {
    EXPECT_TRUE(camera->connected());
    EXPECT_GE(events->count(), 1) << "events run before the camera is connected";
    w.Tick();
    EXPECT_EQ(w.live_picture(), nullptr);
    const auto revision = w.live_revision();
    auto frame = std::make_shared<FakePicture>(640, 480, 1);
    camera->Feed(frame);
    w.Tick();
    w.Tick();
    EXPECT_EQ(w.live_picture(), frame);
    EXPECT_EQ(w.live_revision(), revision + 1) << "the same frame is not drawn twice";
    w.Click();
    EXPECT_EQ(w.still_picture(), frame);
    camera->failing_grabs = true;
    w.Tick();
    w.Click();  // silent
    EXPECT_EQ(w.live_picture(), frame);
    EXPECT_EQ(w.still_picture(), nullptr);
  });
  EXPECT_EQ(camera->connects, 1);
  EXPECT_EQ(camera->releases, 1);
  EXPECT_FALSE(camera->connected());
  EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(Photo, PhotoWayRaises5WithoutAWindowOrWhileItsWindowIsOpen) {
  std::u16string name = u"a", folder = u"/f";
  host->script = [&](CaptureWindow& w) {
    EXPECT_EQ(OpenCaptureWindow(), &w);
    EXPECT_EQ(ErrorOf([&] { dolva->PhotoWay(name, folder); }), err::kInvalidCall);
  };
  dolva->PhotoWay(name, folder);
  EXPECT_EQ(OpenCaptureWindow(), nullptr);
  Dolva bare(FixedServices(MakeDate({2009, 3, 15}, {10, 0, 0})));
  EXPECT_EQ(ErrorOf([&] { bare.PhotoWay(name, folder); }), err::kInvalidCall);
}

TEST_F(Photo, GuardarRefusesANameThatIsNoPhotoNameAndTheWindowStaysUsable) {
  struct Case {
    const char16_t* typed;
    const char16_t* why;
  } cases[] = {
      {u"../../fuera/MALO", u"lleva / o \\, que separan carpetas"},
      {u"..\\x", u"lleva / o \\, que separan carpetas"},
      {u"\\\\servidor\\recurso", u"lleva / o \\, que separan carpetas"},
      {u"C:x", u"lleva alguno de los caracteres : * ? \" < > |"},
      {u"a:b", u"lleva alguno de los caracteres : * ? \" < > |"},
      {u"J?AN", u"lleva alguno de los caracteres : * ? \" < > |"},
      {u"..", u"es . o .., o empieza o termina con punto"},
      {u"CON", u"es el nombre de un dispositivo de Windows (CON, PRN, AUX, NUL, COM1, LPT1...)"},
      {u"nul", u"es el nombre de un dispositivo de Windows (CON, PRN, AUX, NUL, COM1, LPT1...)"},
      {u"COM1", u"es el nombre de un dispositivo de Windows (CON, PRN, AUX, NUL, COM1, LPT1...)"},
      {u"   ", u"está vacío"},
  };
  disk->AddFolder(u"/fuera");
  disk->AddFile(u"/Ponderix/Fotos/MALO.jpg", Bitmap(0x111111));
  disk->AddFile(u"/Ponderix/Fotos/ana.jpg", {});  // each corrected save replaces it
  for (const auto& c : cases) {
    const auto boxes_before = boxes->shown().size();
    ThreadPhotoState().path = u"antes";
    std::vector<std::u16string> outside;
    disk->watch = [&outside](fakes::DiskAccess access, const std::u16string& path) {
      if (!fakes::StaysIn(access, path, u"/Ponderix/Fotos")) outside.push_back(path);
    };
    const auto result = PhotoWay(u"ana", u"/Ponderix/Fotos", [&](CaptureWindow& w) {
      w.SelectSource(PhotoSource::kWebcam);
      w.TakePhoto();
      camera->Feed(std::make_shared<FakePicture>(2, 2, 0x222222));
      w.Click();
      w.EditName(c.typed);
      w.Save();
      EXPECT_EQ(w.stage(), CaptureStage::kCaptured) << U8(c.typed);
      EXPECT_TRUE(w.save_visible()) << U8(c.typed);
      // Corrected, the same window stores the photo.
      w.EditName(u"ana");
      w.Save();
      EXPECT_EQ(w.stage(), CaptureStage::kClosed) << U8(c.typed);
    });
    EXPECT_EQ(result, u"/Ponderix/Fotos/ana.jpg") << U8(c.typed);
    // The refusal, then the replace question of the corrected name.
    ASSERT_EQ(boxes->shown().size(), boxes_before + 2) << U8(c.typed);
    EXPECT_EQ(boxes->shown().back().title, u"Precaución");
    const auto& box = boxes->shown()[boxes_before];
    EXPECT_EQ(box.text,
              u"El nombre de la fotografía no es válido: " + std::u16string(c.why) + u".");
    EXPECT_EQ(box.title, u"Cámara Fotográfica");
    EXPECT_EQ(box.icon, MsgIcon::kExclamation);
    EXPECT_EQ(box.buttons, MsgButtons::kOk);
    EXPECT_TRUE(outside.empty()) << U8(c.typed) << " reached " << U8(outside.front());
    EXPECT_EQ(disk->List(u"/fuera")->size(), 0u) << U8(c.typed);
    EXPECT_EQ(Text(disk->Read(u"/Ponderix/Fotos/MALO.jpg")), Text(Bitmap(0x111111)));
  }
  EXPECT_EQ(disk->List(u"/Ponderix/Fotos")->size(), 2u);
}

TEST_F(Photo, ANameGivenToPhotoWayThatIsNoPhotoNameFindsNothingAndSavesNothing) {
  disk->AddFile(u"/fuera/MALO.jpg", Bitmap(0x111111));
  disk->AddFolder(u"/Ponderix/Fotos");
  ThreadPhotoState().path = u"antes";
  std::vector<std::u16string> outside;
  disk->watch = [&outside](fakes::DiskAccess access, const std::u16string& path) {
    if (!fakes::StaysIn(access, path, u"/Ponderix/Fotos")) outside.push_back(path);
  };
  // The webcam check finds no "stored photo" through the path, and Guardar refuses it.
  EXPECT_EQ(PhotoWay(u"../../fuera/MALO", u"/Ponderix/Fotos", TakeAndSave(0x222222)), u"antes");
  EXPECT_FALSE(host->closed_by_request);
  EXPECT_TRUE(outside.empty()) << U8(outside.front());
  EXPECT_EQ(Text(disk->Read(u"/fuera/MALO.jpg")), Text(Bitmap(0x111111)));
  EXPECT_EQ(disk->writes, 0);
  ASSERT_EQ(boxes->shown().size(), 1u);
  EXPECT_EQ(boxes->shown()[0].text.substr(0, CaptureWindow::kBadNameText.size()),
            CaptureWindow::kBadNameText);
}

TEST_F(Photo, FotografiaOfANameThatIsNoPhotoNameEmptiesTheImageWithoutSearching) {
  disk->AddFile(u"/Ponderix/Fotos/JUAN.jpg", Bitmap(0xA));
  disk->AddFile(u"/fuera/SECRETO.jpg", Bitmap(0xB));
  int lists = 0;
  disk->watch = [&lists](fakes::DiskAccess, const std::u16string&) { ++lists; };
  for (const char16_t* name : {u"*", u"J?AN", u"JUAN*", u"../../fuera/SECRETO", u"..\\JUAN", u"..",
                               u"CON", u"JUAN/", u"C:JUAN", u""}) {
    form->image->picture = std::make_shared<FakePicture>(1, 1, 7);
    std::u16string archivo = name;
    dolva->Fotografia(archivo, form);
    EXPECT_EQ(form->image->picture, nullptr) << U8(name);
    EXPECT_EQ(archivo, name);
  }
  EXPECT_EQ(lists, 0);
  EXPECT_TRUE(loader->loaded.empty());
  // The plain name still finds its photo.
  std::u16string juan = u"juan";
  dolva->Fotografia(juan, form);
  EXPECT_NE(form->image->picture, nullptr);
}

TEST_F(Photo, AChosenFileIsFoundByItsOwnNameNeverAsAPattern) {
  disk->AddFile(u"/home/ana/Mi Foto.BMP", Bitmap(1));
  for (const char16_t* chosen : {u"/home/ana/*.BMP", u"/home/ana/Mi?Foto.bmp", u"/home/ana/*"}) {
    ThreadPhotoState().path = u"antes";
    dialog->Answer(chosen);
    EXPECT_EQ(PhotoWay(u"ana", u"/fotos",
                       [](CaptureWindow& w) {
                         w.SelectSource(PhotoSource::kFile);
                         w.TakePhoto();
                         EXPECT_EQ(w.stage(), CaptureStage::kChoosing);
                       }),
              u"antes")
        << U8(chosen);
  }
}

}  // namespace
}  // namespace velmora
