#include "fuzz_services.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake_dialogs.h"
#include "fake_photo.h"
#include "fake_sysinfo.h"
#include "velmora/forms.h"
#include "velmora/photo.h"
#include "velmora/sysinfo.h"
#include "velmora/sysinfo_windows.h"
#include "velmora/utf.h"

namespace velmora {

namespace {

// An object that is not reachable by name: what a host passes when it passes the wrong thing.
class Opaque : public Object {};

template <typename T>
T Pick(FuzzedDataProvider& in, std::initializer_list<T> choices) {
  return *(choices.begin() + in.ConsumeIntegralInRange<std::size_t>(0, choices.size() - 1));
}

std::u16string PickName(FuzzedDataProvider& in) {
  return Pick<std::u16string>(
      in,
      {u"", u"txtNombre", u"TXTFECHA", u"cmdSalir", u"btnOk", u"lblTitulo", u"Image1", u"image1",
       u"chkActivo", u"optSi", u"cmd", u"c", u"ñandú", u"txt\xD800", std::u16string(300, u'x')});
}

Variant OddValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0: return {};
    case 1: return Variant::Null();
    case 2: return Variant(in.ConsumeIntegral<std::int16_t>());
    case 3: return Variant(in.ConsumeIntegral<std::int32_t>());
    case 4: return Variant(in.ConsumeBool());
    case 5: return Variant(ObjectRef{});
    default: return Variant(PickName(in));
  }
}

// A control of a usual kind, or one with whatever properties the input makes up.
void AddControl(FuzzedDataProvider& in, MemoryForm& form) {
  std::u16string name = PickName(in);
  switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
      form.AddTextBox(std::move(name), Pick<std::u16string>(in, {u"", u"15/03/2009", u"x"}));
      break;
    case 1: form.AddButton(std::move(name)); break;
    case 2: form.AddLabel(std::move(name)); break;
    case 3: form.AddCheckBox(std::move(name)); break;
    case 4: form.AddOptionButton(std::move(name)); break;
    case 5: form.AddImage(std::move(name)); break;
    default: {
      PropertyList props;
      const auto n = in.ConsumeIntegralInRange(0, 4);
      for (int i = 0; i < n; ++i) {
        props.emplace_back(Pick<std::u16string>(in, {u"Text", u"Enabled", u"Value", u"Picture",
                                                     u"Stretch", u"Caption", u"Height"}),
                           OddValue(in));
      }
      form.Add(std::move(name), std::move(props));
    }
  }
}

// Runs the system-information windows' models against surfaces that record, with the "button"
// pressed after a few ticks.
class FuzzSystemWindows final : public SystemWindows {
 public:
  FuzzSystemWindows(FuzzedDataProvider& in, std::shared_ptr<fakes::FakeSystemQueries> sys,
                    const LocaleData& loc)
      : in_(in), sys_(std::move(sys)), loc_(loc) {
    // Screens and colour depths a display can have: any size up to 16K pixels at 1 to 20 twips
    // a pixel, 1 or 2 planes of 1 to 32 bits.
    const double tpp_x = in.ConsumeIntegralInRange(1, 20);
    const double tpp_y = in.ConsumeIntegralInRange(1, 20);
    display_.screen = {in.ConsumeIntegralInRange(1, 16384) * tpp_x,
                       in.ConsumeIntegralInRange(1, 16384) * tpp_y, tpp_x, tpp_y};
    display_.planes = in.ConsumeIntegralInRange(1, 2);
    display_.bits = Pick(in, {1, 4, 8, 15, 16, 24, 32});
    display_.mouse = in.ConsumeBool();
    display_.cursor = {in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>()};
  }

  void ShowPcInfo(bool /*modal*/) override {
    fakes::RecordingSurface surface;
    PcInfoModel model(*sys_, display_, surface, loc_);
    model.Load();
    for (int i = in_.ConsumeIntegralInRange(0, 3); i > 0; --i) model.Refresh();
    model.Finalizar();
  }
  void ShowSplash(bool /*modal*/) override {
    fakes::RecordingSurface surface;
    SplashModel model(*sys_, display_, surface, loc_);
    // A close asked for while the window is still rolling open.
    if (in_.ConsumeBool()) surface.on_pump = [&] { model.Close(); };
    model.Load();
    for (int i = in_.ConsumeIntegralInRange(0, 3); i > 0; --i) model.Refresh();
    model.Close();
  }
  bool AnyOpen() const override { return false; }
  void WaitWhileOpen() override {}

 private:
  FuzzedDataProvider& in_;
  std::shared_ptr<fakes::FakeSystemQueries> sys_;
  const LocaleData& loc_;
  fakes::FakeWindowDisplay display_;
};

std::shared_ptr<fakes::FakeSystemQueries> FuzzSystem(FuzzedDataProvider& in) {
  auto sys = std::make_shared<fakes::FakeSystemQueries>();
  if (in.ConsumeBool()) return sys;  // the usual machine
  if (in.ConsumeBool()) {
    sys->version.reset();
  } else {
    sys->version =
        VersionRecord{in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                      in.ConsumeIntegralInRange<std::int32_t>(0, 3),
                      in.ConsumeIntegral<std::int32_t>(), PickName(in)};
  }
  sys->processor = {in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                    in.ConsumeIntegral<std::int32_t>()};
  sys->memory = {in.ConsumeIntegralInRange<std::uint32_t>(0, 100),
                 in.ConsumeIntegral<std::uint64_t>(),
                 in.ConsumeIntegral<std::uint64_t>(),
                 in.ConsumeIntegral<std::uint64_t>(),
                 in.ConsumeIntegral<std::uint64_t>(),
                 in.ConsumeIntegral<std::uint64_t>(),
                 in.ConsumeIntegral<std::uint64_t>()};
  const auto clusters = [&in] {
    return ClusterFigures{in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                          in.ConsumeIntegral<std::uint64_t>(), in.ConsumeIntegral<std::uint64_t>()};
  };
  if (in.ConsumeBool()) sys->current_drive = clusters();
  else sys->current_drive.reset();
  sys->lettered_drives.clear();
  if (in.ConsumeBool()) sys->lettered_drives[u'C'] = clusters();
  sys->drive_bytes.clear();
  for (char16_t letter : {u'C', u'D'}) {
    if (in.ConsumeBool()) {
      sys->drive_bytes[letter] = {in.ConsumeIntegral<std::uint64_t>(),
                                  in.ConsumeIntegral<std::uint64_t>(),
                                  in.ConsumeIntegral<std::uint64_t>()};
    }
  }
  sys->system_ini = in.ConsumeRandomLengthString(200);
  sys->privilege_granted = in.ConsumeBool();
  sys->restart_accepted = in.ConsumeBool();
  return sys;
}

// A bitmap file of the fakes' kind, or bytes that only look like one.
std::vector<std::uint8_t> FuzzPictureFile(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) {
    fakes::FakeBitmapEncoder encoder;
    return encoder.BitmapFile(ObjectRef(std::make_shared<fakes::FakePicture>(
        in.ConsumeIntegralInRange(1, 64), in.ConsumeIntegralInRange(1, 64),
        in.ConsumeIntegral<std::uint32_t>())));
  }
  std::vector<std::uint8_t> bytes{'B', 'M'};
  const auto tail = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 80));
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

// A path for a report: in quotes, control characters as \xNN.
std::string Quoted(std::u16string_view path) {
  std::string out = "\"";
  for (char c : ToUtf8(path)) {
    if (static_cast<unsigned char>(c) < 0x20) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += std::string("\\x") + kHex[(c >> 4) & 0xF] + kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// What a user may type into the name box: plain names, and paths, patterns, streams and
// devices that must never reach the disk as they stand.
std::u16string PickPhotoName(FuzzedDataProvider& in) {
  return Pick<std::u16string>(in, {u"JUAN",
                                   u"juan",
                                   u" Ana ",
                                   u"ñandú",
                                   u"",
                                   u"../../fuera/MALO",
                                   u"..",
                                   u".",
                                   u"*",
                                   u"J?AN",
                                   u"..\\x",
                                   u"C:x",
                                   u"\\\\servidor\\recurso",
                                   u"a:b",
                                   u"CON",
                                   u"nul.jpg",
                                   u"COM1",
                                   u"/Ponderix/x",
                                   u"x/",
                                   u"txt\xD800",
                                   std::u16string(201, u'x'),
                                   std::u16string(200, u'y'),
                                   u"a\nb"});
}

void FuzzCapture(FuzzedDataProvider& in, CaptureWindow& w, fakes::FakeCamera& camera) {
  for (int step = in.ConsumeIntegralInRange(0, 12); step > 0; --step) {
    switch (in.ConsumeIntegralInRange(0, 8)) {
      case 0:
        w.SelectSource(Pick(in, {PhotoSource::kNone, PhotoSource::kWebcam, PhotoSource::kFile}));
        break;
      case 1: w.EditName(PickPhotoName(in)); break;
      case 2: w.TakePhoto(); break;
      case 3: w.Click(); break;
      case 4: w.Save(); break;
      case 5: w.Clear(); break;
      case 6:
        camera.Feed(ObjectRef(std::make_shared<fakes::FakePicture>(
            in.ConsumeIntegralInRange(1, 8), in.ConsumeIntegralInRange(1, 8),
            in.ConsumeIntegral<std::uint32_t>())));
        break;
      default: w.Tick();
    }
    if (w.closing()) return;
  }
}

}  // namespace

FuzzServices::FuzzServices(FuzzedDataProvider& in) : in_(in) {
  static constexpr std::array<double, 4> kNow{39887.7291666, kMinDateSerial, kMaxDateSerial, 0.5};
  services_ = FixedServices(Date{kNow[in.ConsumeIntegralInRange<std::size_t>(0, kNow.size() - 1)]});
  Services& s = *services_;

  auto box = std::make_shared<fakes::ScriptedMessageBox>();
  for (int i = in.ConsumeIntegralInRange(0, 3); i > 0; --i) {
    box->Answer(static_cast<MsgResult>(in.ConsumeIntegralInRange(1, 7)));
  }
  s.message_box = box;
  s.events = std::make_shared<fakes::CountingEventPump>();

  auto system = FuzzSystem(in);
  s.system = system;
  s.system_windows = std::make_shared<FuzzSystemWindows>(in, system, s.locale);

  auto disk = std::make_shared<fakes::FakeDisk>();
  // The folders the running call names: the photo folder for Fotografia; while the capture
  // window is up, the folder PhotoWay was given and those of the files the dialog hands back.
  // The disk is asked about nothing else, or it is a finding.
  auto named = std::make_shared<std::vector<std::u16string>>(1, PhotoFolder(u'/'));
  disk->watch = [named](fakes::DiskAccess access, const std::u16string& path) {
    for (const auto& folder : *named) {
      if (fakes::StaysIn(access, path, folder)) return;
    }
    std::string folders;
    for (const auto& folder : *named) folders += " " + Quoted(folder);
    std::fprintf(stderr, "FINDING: the photo disk was asked to %s %s, outside%s\n",
                 access == fakes::DiskAccess::kWrite ? "write" : "list", Quoted(path).c_str(),
                 folders.c_str());
    std::abort();
  };
  if (in.ConsumeBool()) {
    disk->AddFolder(u"/Ponderix/Fotos");
    for (int i = in.ConsumeIntegralInRange(0, 3); i > 0; --i) {
      disk->AddFile(u"/Ponderix/Fotos/" + PickName(in) +
                        Pick<std::u16string>(in, {u".bmp", u".JPG", u"", u".*"}),
                    FuzzPictureFile(in), in.ConsumeBool());
    }
  }
  disk->failing_writes = in.ConsumeIntegralInRange(0, 2);
  disk->failing_lists = in.ConsumeIntegralInRange(0, 7) == 0;
  s.photo_files = disk;
  s.pictures = std::make_shared<fakes::FakePictureLoader>(disk);
  s.bitmaps = std::make_shared<fakes::FakeBitmapEncoder>();

  auto camera = std::make_shared<fakes::FakeCamera>();
  camera->present = in.ConsumeBool();
  camera->failing_grabs = in.ConsumeIntegralInRange(0, 3) == 0;
  s.camera = camera;

  auto dialog = std::make_shared<fakes::ScriptedFileDialog>();
  dialog->failing = in.ConsumeIntegralInRange(0, 7) == 0;
  std::vector<std::u16string> picked;
  for (int i = in.ConsumeIntegralInRange(0, 2); i > 0; --i) {
    picked.push_back(Pick<std::u16string>(
        in, {u"", u"/Ponderix/Fotos/JUAN.bmp", u"/no/hay.bmp", u"/Ponderix", u"relativo.jpg"}));
    dialog->Answer(picked.back());
  }
  s.file_dialog = dialog;

  auto capture = std::make_shared<fakes::ScriptedCaptureHost>();
  capture->script = [&in, camera, named, picked](CaptureWindow& w) {
    const std::vector<std::u16string> before = *named;
    *named = {ThreadPhotoState().folder};
    for (const auto& path : picked) named->push_back(path.substr(0, path.rfind(u'/') + 1));
    FuzzCapture(in, w, *camera);
    *named = before;
  };
  s.capture_window = capture;
}

Variant FuzzServices::FuzzObject() {
  switch (in_.ConsumeIntegralInRange(0, 5)) {
    case 0: return Variant(ObjectRef{});
    case 1: return Variant(ObjectRef(std::make_shared<Opaque>()));
    case 2: {
      // A control where a form belongs: it has no controls of its own.
      MemoryForm form;
      return Variant(ObjectRef(form.AddTextBox(u"txtSolo")));
    }
    default: {
      auto form = std::make_shared<MemoryForm>(PickName(in_), services_->locale);
      for (int i = in_.ConsumeIntegralInRange(0, 12); i > 0; --i) AddControl(in_, *form);
      return Variant(ObjectRef(form));
    }
  }
}

}  // namespace velmora
