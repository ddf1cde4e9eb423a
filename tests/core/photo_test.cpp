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

TEST(PhotoSearch, PatternsFollowTheDirectorySearchRules) {
  struct Case {
    const char16_t* name;
    const char16_t* pattern;
    bool matches;
  } cases[] = {
      {u"JUAN.jpg", u"JUAN.*", true},   {u"juan.JPG", u"JUAN.*", true},
      {u"JUAN", u"JUAN.*", true},       {u"JUAN.tar.gz", u"JUAN.*", true},
      {u"JUANA.jpg", u"JUAN.*", false}, {u"JUAN.jpg", u"JUAN.Jpg", true},
      {u"JOSÉ.jpg", u"josé.*", true},   {u"JUAN.jpg", u"J??N.JPG", true},
      {u"JUAN.jpg", u"J?N.JPG", false}, {u"a.b.c", u"*.c", true},
      {u"JUAN.jpg", u"*", true},        {u"JUAN.jpg", u"JUAN", false},
      {u"xJUAN.jpg", u"JUAN.*", false}, {u"aaaaaaaaab", u"*a*a*a*b", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << U8(c.name) << " ~ " << U8(c.pattern);
  }
}

TEST(PhotoSearch, FirstVisibleFileInListingOrderIgnoringCase) {
  fakes::FakeDisk disk;
  disk.AddFolder(u"/Ponderix/Fotos/JUAN.jpg");  // a folder by the name: never matched
  disk.AddFile(u"/Ponderix/Fotos/JUAN.bmp", {}, /*hidden=*/true);
  disk.AddFile(u"/Ponderix/Fotos/JUAN.txt", {});
  disk.AddFile(u"/Ponderix/Fotos/JUAN.jpg.bak", {});
  struct Case {
    const char16_t* pattern;
    const char16_t* found;
  } cases[] = {
      {u"/Ponderix/Fotos/JUAN.*", u"JUAN.txt"},
      {u"/PONDERIX/fotos/juan.*", u"JUAN.txt"},
      {u"/Ponderix/Fotos/JUAN.bmp", u""},
      {u"/Ponderix/Fotos/JUAN.jpg", u""},
      {u"/Ponderix/Otras/JUAN.*", u""},
      {u"/Ponderix/Fotos/", u""},
      {u"Ponderix/Fotos/juan.JPG.*", u"JUAN.jpg.bak"},
  };
  for (const auto& c : cases) EXPECT_EQ(FindFirstFile(disk, c.pattern), c.found) << U8(c.pattern);
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

TEST_F(Photo, SavedPhotoIsABitmapUnderTheNameAndFolder) {
  disk->AddFolder(u"/fotos");
  EXPECT_EQ(PhotoWay(u" juan ", u"/fotos", TakeAndSave(0x00FF00)), u"/FOTOS/JUAN.jpg");
  EXPECT_TRUE(host->closed_by_request);
  const auto saved = disk->Read(u"/fotos/JUAN.jpg");
  ASSERT_TRUE(saved);
  EXPECT_EQ(Text(saved).substr(0, 2), "BM");
  EXPECT_TRUE(boxes->shown().empty());
  // The next window closed with its close box returns the same path again.
  EXPECT_EQ(PhotoWay(u"otro", u"/fotos", nullptr), u"/FOTOS/JUAN.jpg");
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
    EXPECT_EQ(PhotoWay(u"juan", u"/fotos", TakeAndSave(0x222222)), u"/FOTOS/JUAN.jpg");
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
            u"/FOTOS/JUAN.Jpg");
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
  EXPECT_EQ(result, u"/FOTOS/Pedro.jpg");
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
            u"/FOTOS/JUAN.Jpg");  // what the webcam check found, not what Guardar wrote
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

}  // namespace
}  // namespace velmora
