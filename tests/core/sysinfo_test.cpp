#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "../test_util.h"
#include "fake_sysinfo.h"
#include "velmora/dolva.h"
#include "velmora/sysinfo.h"
#include "velmora/sysinfo_windows.h"

namespace velmora {
namespace {

using fakes::FakeSystemQueries;
using fakes::FakeWindowDisplay;
using fakes::RecordingSurface;

const LocaleData kEs = SpanishMexico();

// es_MX figures with the marks swapped, as a European locale writes them.
LocaleData CommaDecimals() {
  LocaleData loc = SpanishMexico();
  loc.decimal_mark = u',';
  loc.group_mark = u'.';
  return loc;
}

// A drive whose clusters are single bytes, so the report's amount is the cluster count.
ClusterFigures Bytes(std::uint64_t free, std::uint64_t total) { return {1, 1, free, total}; }

TEST(SizeText, UnitsThresholdsAndRounding) {
  struct Case {
    double bytes;
    const char16_t* text;
  } cases[] = {
      {0, u"0 Bytes"},
      {512, u"512 Bytes"},
      {1024, u"1024 Bytes"},
      {1025, u"1 Kb."},
      {1536, u"1.5 Kb."},
      {1048576, u"1 Mb."},
      {268435456, u"256 Mb."},
      {2359296, u"2.2 Mb."},
      {2883584, u"2.8 Mb."},
      {1073741824, u"1 Gb."},
      {1610612736, u"1.5 Gb."},
      {8589934592.0, u"8 Gb."},
      {1099511627776.0, u"1 Tb."},
      {1125899906842624.0, u"1 Pb."},
      {3 * 1125899906842624.0, u"3 Pb."},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(SizeText(c.bytes, kEs)), U8(c.text)) << c.bytes;
  EXPECT_EQ(SizeText(1536, CommaDecimals()), u"1,5 Kb.");
  EXPECT_EQ(SizeText(Currency::FromWhole(1536), kEs), u"1.5 Kb.");
}

TEST(DiskReports, UnitByPowersOfTenDivisorByPowersOfTwo) {
  struct Case {
    std::uint64_t bytes;
    const char16_t* total;
    const char16_t* free;
  } cases[] = {
      {0, u"0.00 Kb.   (0 Bytes).", u"0.00 Kb. Libres  (0 Bytes)."},
      {999'999, u"976.56 Kb.   (999,999 Bytes).", u"976.56 Kb. Libres  (999,999 Bytes)."},
      {1'000'000, u"0.95 Mb.   (1,000,000 Bytes).", u"0.95 Mb. Libres  (1,000,000 Bytes)."},
      {500'000'000, u"476.84 Mb.   (500,000,000 Bytes).",
       u"476.84 Mb. Libres  (500,000,000 Bytes)."},
      {1'000'000'000, u"0.99 Gb.   (1,000,000,000 Bytes).",
       u"0.99 Gb. Libres  (1,000,000,000 Bytes)."},
      {40'007'729'152, u"39.74 Gb.   (40,007,729,152 Bytes).",
       u"39.74 Gb. Libres  (40,007,729,152 Bytes)."},
  };
  FakeSystemQueries sys;
  for (const auto& c : cases) {
    sys.current_drive = Bytes(c.bytes, c.bytes);
    EXPECT_EQ(U8(DiskTotalText(sys, Variant::Missing(), kEs)), U8(c.total));
    EXPECT_EQ(U8(DiskFreeText(sys, Variant::Missing(), kEs)), U8(c.free));
  }
  sys.current_drive = Bytes(1'000'000, 1'000'000);
  EXPECT_EQ(DiskTotalText(sys, Variant::Missing(), CommaDecimals()),
            u"0,95 Mb.   (1.000.000 Bytes).");
}

TEST(DiskReports, FiguresAndRootsOfTheLastQuery) {
  FakeSystemQueries sys;
  sys.lettered_drives[u'C'] = {8, 512, 100, 400};  // 4096-byte clusters
  EXPECT_EQ(DiskFreeText(sys, Variant(u"c"), kEs), u"400.00 Kb. Libres  (409,600 Bytes).");
  EXPECT_EQ(DiskTotal(), Currency::FromWhole(1'638'400));
  EXPECT_EQ(DiskFree(), Currency::FromWhole(409'600));
  ASSERT_EQ(sys.cluster_roots.size(), 1u);
  EXPECT_EQ(sys.cluster_roots[0], std::optional<std::u16string>(u"c:"));

  // A failure names the drive as given, one colon after it, and zeroes both figures.
  EXPECT_EQ(U8(DiskTotalText(sys, Variant(u"E"), kEs)), U8(u"Disco: E:, Falló."));
  EXPECT_EQ(DiskTotal(), Currency());
  EXPECT_EQ(DiskFree(), Currency());
  EXPECT_EQ(DiskFreeText(sys, Variant(u"E"), kEs), u"Disco: E:, Fallo.");
  sys.current_drive.reset();
  EXPECT_EQ(U8(DiskTotalText(sys, Variant::Missing(), kEs)), U8(u"Disco: :, Falló."));
}

TEST(DiskReports, ClusterProductOverflows) {
  FakeSystemQueries sys;
  sys.current_drive = ClusterFigures{65'536, 65'536, 1, 1};
  EXPECT_EQ(ErrorOf([&] { DiskTotalText(sys, Variant::Missing(), kEs); }), err::kOverflow);
  sys.current_drive = ClusterFigures{32'768, 65'535, 1, 1};  // 2 147 450 880 fits
  EXPECT_EQ(ErrorOf([&] { DiskTotalText(sys, Variant::Missing(), kEs); }), 0);
}

TEST(Version, PlatformIdAndTexts) {
  struct Case {
    std::optional<VersionRecord> version;
    std::int32_t id;
    bool nt;
    const char16_t* text;
  } cases[] = {
      {VersionRecord{5, 1, 2, 2600, {}}, 2, true, u"5.1.2600"},
      {VersionRecord{6, 2, 3, 9200, {}}, 3, true, u"6.2.9200"},
      {VersionRecord{4, 10, 1, 67766222, {}}, 1, false, u"4.10.67766222"},
      {VersionRecord{3, 10, 0, 0, {}}, 0, false, u"3.10.0"},
      {std::nullopt, 0, false, u"0.0.0"},
  };
  for (const auto& c : cases) {
    FakeSystemQueries sys;
    sys.version = c.version;
    EXPECT_EQ(PlatformId(sys), c.id);
    EXPECT_EQ(IsWinNT(sys), c.nt);
    EXPECT_EQ(VersionText(sys), c.text);
  }
}

TEST(Processor, FiguresRunTogether) {
  struct Case {
    ProcessorRecord record;
    const char16_t* text;
  } cases[] = {
      {{1, 586, 42}, u"158642"},
      {{2, 586, 6 + 3846 * 65536}, u"2586252051462"},
      {{1, 586, static_cast<std::int32_t>(0x80000006u)}, u"1586-2147483642"},
  };
  for (const auto& c : cases) {
    FakeSystemQueries sys;
    sys.processor = c.record;
    EXPECT_EQ(ProcessorText(sys), c.text);
  }
}

TEST(Directories, SeparatorsBlanksAndFailures) {
  struct Case {
    const char16_t* raw;
    char16_t separator;
    const char16_t* with_slash;
    const char16_t* sys_dir;
  } cases[] = {
      {u"C:\\WINDOWS", u'\\', u"C:\\WINDOWS\\", u"C:\\WINDOWS\\SYSTEM\\"},
      {u"C:\\", u'\\', u"C:\\", u"C:\\SYSTEM\\"},
      {u"C:\\WIN   ", u'\\', u"C:\\WIN\\", u"C:\\WIN\\SYSTEM\\"},
      {u"/etc", u'/', u"/etc/", u"/etc/SYSTEM/"},
      {u"", u'\\', u"", u"SYSTEM\\"},
  };
  auto services = FixedServices({});
  auto sys = std::make_shared<FakeSystemQueries>();
  services->system = sys;
  APIs apis(services);
  Dolva dolva(services);
  for (const auto& c : cases) {
    sys->windows_dir = c.raw;
    sys->separator = c.separator;
    EXPECT_EQ(apis.WinDir(), c.with_slash);
    EXPECT_EQ(apis.SysDir(), c.sys_dir);
    EXPECT_EQ(dolva.WinDirectory(), c.raw);
  }
  EXPECT_EQ(apis.TempDir(), u"TEMP\\");
  sys->system_dir = std::u16string(u"C:\\WINDOWS\\system32\0junk", 25);
  EXPECT_EQ(apis.Sys32Dir(), u"C:\\WINDOWS\\system32\\");
  std::u16string empty;
  AddSlash(empty, u'\\');
  EXPECT_EQ(empty, u"\\");
}

// A platform with a temporary folder of its own: that folder with one final separator; without
// one, the Windows directory's TEMP as before.
TEST(Directories, TempDirIsThePlatformsOwnFolderWhereItHasOne) {
  struct Case {
    const char16_t* own;
    char16_t separator;
    const char16_t* temp_dir;
  } cases[] = {
      {u"/tmp", u'/', u"/tmp/"},
      {u"/var/tmp/", u'/', u"/var/tmp/"},
      {u"/home/ana/my tmp ", u'/', u"/home/ana/my tmp /"},  // a blank may end a folder's name
      {u"D:\\TEMP", u'\\', u"D:\\TEMP\\"},
      {u"", u'\\', u"C:\\WINDOWS\\TEMP\\"},
  };
  auto services = FixedServices({});
  auto sys = std::make_shared<FakeSystemQueries>();
  services->system = sys;
  APIs apis(services);
  for (const auto& c : cases) {
    sys->temporary_dir = c.own;
    sys->separator = c.separator;
    EXPECT_EQ(apis.TempDir(), c.temp_dir);
  }
}

TEST(Directories, WithoutSystemQueriesEverythingFails) {
  auto services = FixedServices({});
  APIs apis(services);
  Dolva dolva(services);
  EXPECT_EQ(apis.WinDir(), u"");
  EXPECT_EQ(apis.TempDir(), u"TEMP\\");
  EXPECT_EQ(dolva.WinVer(), u"0.0.0");
  EXPECT_FALSE(apis.RebootSystem());
}

TEST(ColorCount, PowersOfTwoInSinglePrecision) {
  EXPECT_EQ(ColorCount(1, 8), 256.0f);
  EXPECT_EQ(ColorCount(1, 32), 4294967296.0f);
  EXPECT_EQ(ColorCount(4, 1), 16.0f);
  EXPECT_EQ(ErrorOf([] { ColorCount(65536, 65536); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { ColorCount(1, 128); }), err::kOverflow);
}

// System.ini files written into a directory of the test's own.
class SystemIni : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("velmora_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    sys_.profile_dir = dir_;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string Boot(const char16_t* key) {
    return U8(BootDescription(sys_, Variant(u"boot.description"), Variant(key), kEs));
  }

  std::filesystem::path dir_;
  FakeSystemQueries sys_;
};

TEST_F(SystemIni, ProfileRulesOnAnOddFile) {
  Write("SYSTEM.INI",
        "mouse.drv=before any section\r\n"
        "[386Enh]\r\n"
        "mouse.drv=wrong section\r\n"
        "  [ Boot.Description ]  \r\n"
        "; mouse.drv=a comment\r\n"
        "Mouse.DRV   =   Microsoft PS/2 Mouse  \r\n"
        "mouse.drv=second of the key\r\n"
        "network.drv=\r\n"
        "language.dll=\"Espa\xF1ol (M\xE9xico)\"\r\n"
        "no equals sign here\r\n"
        "keyboard.typ='Teclado mejorado'\n"
        "[boot.description]\n"
        "aspect=second section of the name\n");
  EXPECT_EQ(Boot(u"mouse.drv"), "Microsoft PS/2 Mouse");
  EXPECT_EQ(Boot(u"network.drv"), "Activo");             // present but empty
  EXPECT_EQ(Boot(u"language.dll"), "Español (México)");  // Windows-1252 bytes
  EXPECT_EQ(Boot(u"keyboard.typ"), "Teclado mejorado");
  EXPECT_EQ(Boot(u"aspect"), "Activo");
  EXPECT_EQ(Boot(u"display.drv"), "Activo");
  EXPECT_EQ(U8(BootDescription(sys_, Variant(u"386enh"), Variant(u"MOUSE.DRV"), kEs)),
            "wrong section");
}

TEST_F(SystemIni, MissingFileEmptyFileAndLongValues) {
  EXPECT_EQ(Boot(u"mouse.drv"), "Activo");
  Write("system.ini", "");
  EXPECT_EQ(Boot(u"mouse.drv"), "Activo");
  Write("system.ini", "[boot.description]\nmouse.drv=" + std::string(300, 'x') + "\n");
  EXPECT_EQ(Boot(u"mouse.drv"), std::string(254, 'x'));
  Write("system.ini", "\xEF\xBB\xBF[boot.description]\nmouse.drv=Ratón\n");  // UTF-8 with BOM
  EXPECT_EQ(Boot(u"mouse.drv"), "Ratón");
}

TEST(Restart, PrivilegeOnlyOnTheNtFamily) {
  struct Case {
    std::int32_t platform;
    bool granted;
    bool accepted;
    bool result;
    int privilege_requests;
    int restart_requests;
  } cases[] = {
      {2, true, true, true, 1, 1},  {2, false, true, false, 1, 0},  {2, true, false, false, 1, 1},
      {1, false, true, true, 0, 1}, {0, false, false, false, 0, 1},
  };
  for (const auto& c : cases) {
    auto services = FixedServices({});
    auto sys = std::make_shared<FakeSystemQueries>();
    sys->version->platform_id = c.platform;
    sys->privilege_granted = c.granted;
    sys->restart_accepted = c.accepted;
    services->system = sys;
    EXPECT_EQ(APIs(services).RebootSystem(), c.result) << c.platform;
    EXPECT_EQ(sys->privilege_requests, c.privilege_requests);
    EXPECT_EQ(sys->restart_requests, c.restart_requests);
  }
}

TEST(SystemMethod, FourCombinationsAndNoDisplay) {
  auto services = FixedServices({});
  Dolva dolva(services);
  Variant modal;
  bool nuevo = true;
  const Error e = [&] {
    try {
      modal = Variant(true);
      dolva.System(modal, nuevo);
    } catch (const Error& error) {
      return error;
    }
    return Error(0);
  }();
  EXPECT_EQ(e.number(), err::kInvalidCall);
  EXPECT_EQ(U8(e.description(true)), "No hay pantalla disponible para mostrar la ventana");

  auto windows = std::make_shared<fakes::RecordingSystemWindows>();
  services->system_windows = windows;
  struct Case {
    Variant modal;
    bool nuevo;
    bool pc_info;
    bool modal_shown;
  } cases[] = {
      {Variant::Missing(), true, true, true}, {Variant(false), true, true, false},
      {Variant(u"True"), false, false, true}, {Variant(false), false, false, false},
      {Variant::Null(), true, true, false},
  };
  for (auto& c : cases) {
    windows->shown.clear();
    dolva.System(c.modal, c.nuevo);
    ASSERT_EQ(windows->shown.size(), 1u);
    EXPECT_EQ(windows->shown[0].pc_info, c.pc_info);
    EXPECT_EQ(windows->shown[0].modal, c.modal_shown);
  }
  Variant bad(u"quizá");
  EXPECT_EQ(ErrorOf([&] { dolva.System(bad, nuevo); }), err::kTypeMismatch);
}

TEST(HeightEffect, StepsOfFiveWithinTheBounds) {
  struct Case {
    std::int16_t min, max;
    bool grow;
    std::vector<std::int16_t> heights;
  } cases[] = {
      {1000, 1012, true, {1000, 1005, 1010}},
      {1000, 1012, false, {1012, 1007, 1002}},
      {1012, 1000, true, {}},
      {0, 10, false, {10, 5, 0}},
  };
  for (const auto& c : cases) {
    std::vector<std::int16_t> seen;
    fakes::RecordingSurface pump;
    HeightEffect(
        c.min, c.max, c.grow, [&](std::int16_t h) { seen.push_back(h); }, &pump);
    EXPECT_EQ(seen, c.heights);
    EXPECT_EQ(pump.pumps, static_cast<int>(c.heights.size()));
  }
  std::vector<std::int16_t> seen;
  EXPECT_EQ(ErrorOf([&] {
              HeightEffect(
                  32760, 32767, true, [&](std::int16_t h) { seen.push_back(h); }, nullptr);
            }),
            err::kOverflow);
  EXPECT_EQ(seen, (std::vector<std::int16_t>{32760, 32765}));
}

// ---------------------------------------------------------------------------------------------
// The information window.

class PcInfo : public ::testing::Test {
 protected:
  PcInfoModel& Loaded() {
    model_ = std::make_unique<PcInfoModel>(sys_, display_, surface_, kEs);
    model_->Load();
    return *model_;
  }
  std::string Cell(int row) { return U8(model_->cell(row, 1).text); }

  FakeSystemQueries sys_;
  FakeWindowDisplay display_;
  RecordingSurface surface_;
  std::unique_ptr<PcInfoModel> model_;
};

TEST_F(PcInfo, LoadFillsTheGrid) {
  sys_.drive_bytes[u'D'] = {0, 0, 0};
  PcInfoModel& m = Loaded();
  const char* expected[] = {"Información:",
                            "Windows",
                            "Windows XP ó NT",
                            "5.1.2600",
                            "Service Pack 2",
                            "1",
                            "586",
                            "158642",
                            "1024 x 768 Pixeles.",
                            "4,294,967,296",
                            "511.5 Mb. (536,330,240 Bytes)",
                            "37.3 Gb. (40,007,729,152 Bytes)",
                            "0 Bytes (0 Bytes)"};
  for (int row = 0; row < PcInfoModel::kRows; ++row) EXPECT_EQ(Cell(row), expected[row]) << row;
  EXPECT_EQ(U8(m.cell(0, 0).text), "Concepto:");
  EXPECT_EQ(m.cell(0, 0).align, CellAlign::kCenter);
  EXPECT_TRUE(m.cell(7, 0).bold);
  EXPECT_EQ(m.cell(7, 0).align, CellAlign::kRight);
  EXPECT_EQ(m.cell(7, 1).align, CellAlign::kLeft);
  EXPECT_EQ(U8(m.cell(7, 0).text), "Código del CPU:");
  EXPECT_EQ(surface_.width, PcInfoModel::kWidth);
  EXPECT_EQ(surface_.heights, std::vector<std::int16_t>{PcInfoModel::kHeight});
  EXPECT_EQ(surface_.timer, 150);
  EXPECT_EQ(surface_.shown, std::vector<std::uint32_t>{PcInfoModel::kAll});
}

TEST_F(PcInfo, PlatformTextsAndProcessorPieces) {
  struct Case {
    std::int32_t platform;
    ProcessorRecord cpu;
    const char* platform_text;
    const char* count;
    const char* type;
    const char* code;
  } cases[] = {
      {0, {1, 586, 42}, "Windows", "1", "586", "158642"},
      {1, {12, 586, 6 + 3846 * 65536}, "Windows 32", "1", "258", "52051462"},
      {2, {2, 8664, 0}, "Windows XP ó NT", "2", "866", "286640"},
      {3, {0, 0, 0}, "", "0", "00", "000"},
  };
  for (const auto& c : cases) {
    sys_.version->platform_id = c.platform;
    sys_.processor = c.cpu;
    Loaded();
    EXPECT_EQ(Cell(1), "Windows");
    EXPECT_EQ(Cell(2), c.platform_text);
    EXPECT_EQ(Cell(5), c.count);
    EXPECT_EQ(Cell(6), c.type);
    EXPECT_EQ(Cell(7), c.code);
  }
}

// A platform that names the machine itself: its names in the rows of the operating system and
// the processor type, the Windows texts in every row it leaves empty.
TEST_F(PcInfo, PlatformNamesReplaceTheWindowsTexts) {
  struct Case {
    MachineNames names;
    const char* system;
    const char* platform;
    const char* type;
  } cases[] = {
      {{u"Debian GNU/Linux 12 (bookworm)", u"Linux 6.1.0-18-amd64", u"AMD EPYC 7B13 64-Core"},
       "Debian GNU/Linux 12 (bookworm)",
       "Linux 6.1.0-18-amd64",
       "AMD EPYC 7B13 64-Core"},
      {{u"Linux", u"", u"aarch64"}, "Linux", "Windows XP ó NT", "aarch64"},
      {{}, "Windows", "Windows XP ó NT", "586"},
  };
  for (const auto& c : cases) {
    sys_.names = c.names;
    Loaded();
    EXPECT_EQ(Cell(1), c.system);
    EXPECT_EQ(Cell(2), c.platform);
    EXPECT_EQ(Cell(6), c.type);
    EXPECT_EQ(Cell(3), "5.1.2600");  // the version and the code stay the record's
    EXPECT_EQ(Cell(7), "158642");
  }
}

TEST_F(PcInfo, DrivePercentagesAndBars) {
  struct Case {
    DriveBytes bytes;
    const char* used;
    const char* free;
    std::int64_t bar_scaled;
  } cases[] = {
      {{10, 40, 10}, "75 %", "25 %", 24'412'500},  // 2441.25 twips
      {{0, 40, 0}, "100 %", "0 %", 32'550'000},
      {{40, 40, 40}, "0 %", "100 %", 0},
      {{3, 8, 3}, "62 %", "38 %", 20'343'750},  // 62.5 rounds to even
      {{0, 0, 0}, "0 %", "0 %", 0},             // a total of 0 divides nothing
      {{50, 40, 50}, "0 %", "100 %", 0},        // figures that disagree stay in range
  };
  for (const auto& c : cases) {
    sys_.drive_bytes[u'C'] = c.bytes;
    const auto& f = Loaded().drive_c();
    EXPECT_EQ(U8(f.used_percent), c.used);
    EXPECT_EQ(U8(f.free_percent), c.free);
    EXPECT_EQ(f.bar_width.scaled(), c.bar_scaled);
  }
}

TEST_F(PcInfo, MemoryUsesThePlatformLoadAndSixtyFourBitFigures) {
  sys_.memory = {63, 8'589'934'592, 3'221'225'472, 0, 0, 8'589'934'592, 3'221'225'472};
  const auto& f = Loaded().memory();
  EXPECT_EQ(U8(f.used_percent), "63 %");
  EXPECT_EQ(U8(f.free_percent), "37 %");
  EXPECT_EQ(U8(f.total), "8 Gb.");
  EXPECT_EQ(U8(f.used), "5 Gb.");
  EXPECT_EQ(U8(f.free), "3 Gb.");
  EXPECT_EQ(f.bar_width.scaled(), 20'343'750);  // 62.5 % of 3255, from U and T
  EXPECT_EQ(Cell(10), "8 Gb. (8,589,934,592 Bytes)");

  sys_.memory = {};
  EXPECT_EQ(Loaded().memory().bar_width, Currency());
}

TEST_F(PcInfo, MoreFreeThanInAllShowsNothingUsed) {
  // Far enough past the total that a negative amount would leave the currency range.
  sys_.drive_bytes[u'C'] = {0x4000'0000'0000'0000, 1024, 0x4000'0000'0000'0000};
  sys_.memory = {5, 0, 0x4000'0000'0000'0000, 0, 0, 0, 0};
  PcInfoModel& m = Loaded();
  EXPECT_EQ(U8(m.drive_c().used), "0 Bytes");
  EXPECT_EQ(U8(m.drive_c().free), "4096 Pb.");
  EXPECT_EQ(U8(m.memory().used), "0 Bytes");
  EXPECT_EQ(m.memory().bar_width, Currency());
}

TEST_F(PcInfo, MissingDriveD) {
  PcInfoModel& m = Loaded();
  EXPECT_EQ(Cell(12), "No disponible");
  EXPECT_EQ(U8(m.drive_d().total), "No disponible");
  EXPECT_EQ(m.drive_d().used_percent, u"");
  EXPECT_EQ(m.drive_d().bar_width, Currency());
}

TEST_F(PcInfo, RefreshChangesOnlyWhatMoved) {
  PcInfoModel& m = Loaded();
  surface_.shown.clear();
  m.Refresh();
  EXPECT_EQ(surface_.shown, std::vector<std::uint32_t>{PcInfoModel::kMouse});
  EXPECT_EQ(U8(m.mouse()), "     X = 10,  Y = 20");

  surface_.shown.clear();
  m.Refresh();
  EXPECT_TRUE(surface_.shown.empty());

  // A gigabyte written to C: its labels and bar change, its total and the grid do not.
  sys_.drive_bytes[u'C'].available -= 1'073'741'824;
  sys_.drive_bytes[u'C'].total_free -= 1'073'741'824;
  const std::u16string total = m.drive_c().total;
  m.Refresh();
  EXPECT_EQ(surface_.shown,
            std::vector<std::uint32_t>{PcInfoModel::kDriveCLabels | PcInfoModel::kDriveCBar});
  EXPECT_EQ(U8(m.drive_c().free), "6.6 Gb.");
  EXPECT_EQ(m.drive_c().total, total);
  EXPECT_EQ(Cell(11), "37.3 Gb. (40,007,729,152 Bytes)");
}

TEST_F(PcInfo, ClosesOnlyThroughFinalizar) {
  PcInfoModel& m = Loaded();
  EXPECT_FALSE(m.QueryUnload());
  surface_.heights.clear();
  int clicks_during_effect = 0;
  surface_.on_pump = [&] {
    if (clicks_during_effect++ == 0) m.Finalizar();  // a second click while shrinking
  };
  m.Finalizar();
  EXPECT_TRUE(m.QueryUnload());
  EXPECT_EQ(surface_.timer, 0);
  ASSERT_EQ(surface_.heights.size(), 6075u / 5 + 1);
  EXPECT_EQ(surface_.heights.front(), 6075);
  EXPECT_EQ(surface_.heights[1], 6070);
  EXPECT_EQ(surface_.heights.back(), 0);
  EXPECT_EQ(surface_.unloads, 1);
}

// ---------------------------------------------------------------------------------------------
// The splash window.

class Splash : public ::testing::Test {
 protected:
  SplashModel& Loaded() {
    model_ = std::make_unique<SplashModel>(sys_, display_, surface_, kEs);
    model_->Load();
    return *model_;
  }
  std::string Cell(int row, int column = 1) { return U8(model_->cell(row, column).text); }

  FakeSystemQueries sys_;
  FakeWindowDisplay display_;
  RecordingSurface surface_;
  std::unique_ptr<SplashModel> model_;
};

TEST_F(Splash, LoadFillsRowsAndGrows) {
  sys_.system_ini =
      "[boot.description]\nmouse.drv=Microsoft PS/2 Mouse\nkeyboard.typ=Teclado Latinoamericano\n";
  sys_.processor = {1, 586, 6 + 3846 * 65536};
  SplashModel& m = Loaded();
  const char* expected[][2] = {
      {"Windows NT version : ", "5.1.2600"},
      {"Tipo de CPU: ", "586"},
      {"Número del CPU: ", "252051462"},
      {"Resolución Gráfica: ", "1024 x 768 Pixeles."},
      {"Colores: ", "4,294,967,296"},
      {"Mouse :", "Microsoft PS/2 Mouse"},
      {"Network: ", "Activo"},
      {"Languaje: ", "Activo"},
      {"Teclado: ", "Teclado Latinoamericano"},
      {"Cap. de Almacenamiento:", "39.74 Gb.   (40,007,729,152 Bytes)."},
      {"Espacio en Disco Duro :", "8.14 Gb. Libres  (8,192,000,000 Bytes)."},
      {"Total Memoria RAM", "523,760 Kb."},
      {"Memoria RAM Ocupada", "329,968 Kb."},
      {"Memoria RAM Disponible", "193,792 Kb."},
  };
  for (int row = 0; row < SplashModel::kRows; ++row) {
    EXPECT_EQ(Cell(row, 0), expected[row][0]) << row;
    EXPECT_EQ(Cell(row), expected[row][1]) << row;
  }
  EXPECT_EQ(m.cell(3, 0).align, CellAlign::kRight);
  EXPECT_EQ(m.cell(3, 1).align, CellAlign::kLeft);
  EXPECT_EQ(U8(m.memory_free()), "Memoria Física Disponible: 193,792 Kb.");
  EXPECT_TRUE(m.info_frame_shown());
  EXPECT_TRUE(m.bar_rows_visible());
  EXPECT_EQ(m.disk_percent(), u" 80%");
  // 405 first, then the effect 405, 410, ... 5040.
  ASSERT_EQ(surface_.heights.size(), 1u + (5040 - 405) / 5 + 1);
  EXPECT_EQ(surface_.heights[0], 405);
  EXPECT_EQ(surface_.heights[1], 405);
  EXPECT_EQ(surface_.heights.back(), 5040);
  EXPECT_EQ(m.height(), 5040);
}

TEST_F(Splash, VersionLabelByPlatform) {
  struct Case {
    std::int32_t major, platform;
    const char* label;
  } cases[] = {{4, 2, "Windows NT version : "},
               {4, 1, "Versión de Windows 98 : "},
               {4, 0, ""},
               {6, 3, ""},
               {3, 2, "Versión de Windows : "}};
  for (const auto& c : cases) {
    sys_.version = VersionRecord{c.major, 0, c.platform, 950, {}};
    Loaded();
    EXPECT_EQ(Cell(0, 0), c.label);
    EXPECT_EQ(Cell(0), std::to_string(c.major) + ".0.950");
  }
}

TEST_F(Splash, WithoutAMouseTheEntryIsNotShown) {
  sys_.system_ini = "[boot.description]\nmouse.drv=Microsoft PS/2 Mouse\n";
  display_.mouse = false;
  Loaded();
  EXPECT_EQ(Cell(5, 0), "Sin Mouse");
  EXPECT_EQ(Cell(5), "");
}

TEST_F(Splash, DiskBar) {
  struct Case {
    std::optional<ClusterFigures> drive;
    const char* percent;
    std::int64_t width_scaled;
  } cases[] = {
      {Bytes(25, 100), " 75%", 8'775'000},    // 877.5 twips
      {Bytes(575, 1000), " 42%", 4'914'000},  // 42.5 rounds to even
      {Bytes(0, 100), " 100%", 11'700'000},  {Bytes(0, 0), " 0%", 0}, {std::nullopt, " 0%", 0},
  };
  for (const auto& c : cases) {
    sys_.current_drive = c.drive;
    SplashModel& m = Loaded();
    EXPECT_EQ(U8(m.disk_percent()), c.percent);
    EXPECT_EQ(m.disk_bar_width().scaled(), c.width_scaled);
  }
  EXPECT_EQ(Cell(9), "Disco: :, Falló.");
  EXPECT_EQ(Cell(10), "Disco: :, Fallo.");
}

TEST_F(Splash, MemoryRowsAndBarsShowWhatIsAvailable) {
  sys_.memory = {50, 1'048'576'000, 524'288'000, 0, 0, 3'000'000'000, 3'000'000'000};
  SplashModel& m = Loaded();
  EXPECT_EQ(Cell(11), "1,024,000 Kb.");
  EXPECT_EQ(Cell(12), "512,000 Kb.");
  EXPECT_EQ(Cell(13), "512,000 Kb.");
  EXPECT_EQ(m.bar_width(1), 1568);  // 1567.5 to even
  EXPECT_EQ(m.bar_width(2), 3135);
  EXPECT_EQ(m.bar_width(3), 0);  // no page file: an empty bar

  // Only a bar whose width changes is touched.
  surface_.shown.clear();
  sys_.memory.avail_physical += 1024;  // too little to move the bar
  m.Refresh();
  EXPECT_EQ(surface_.shown, std::vector<std::uint32_t>{SplashModel::kMemoryText});
  sys_.memory.avail_virtual = 1'500'000'000;
  m.Refresh();
  EXPECT_EQ(surface_.shown.back(), static_cast<std::uint32_t>(SplashModel::kBar2));
  EXPECT_EQ(m.bar_width(2), 1568);
}

TEST_F(Splash, CloseShrinksThenStopsTheTimer) {
  SplashModel& m = Loaded();
  surface_.timer = SplashModel::kTimerInterval;
  surface_.heights.clear();
  std::vector<std::int32_t> timer_during_effect;
  surface_.on_pump = [&] {
    timer_during_effect.push_back(surface_.timer);
    m.Close();  // a second close joins the one under way
  };
  m.Close();
  ASSERT_EQ(surface_.heights.size(), (5040u - 405) / 5 + 1);
  EXPECT_EQ(surface_.heights.front(), 5040);
  EXPECT_EQ(surface_.heights.back(), 405);
  EXPECT_EQ(timer_during_effect.front(), 1);
  EXPECT_EQ(surface_.timer, 0);
  EXPECT_EQ(surface_.unloads, 1);
}

TEST_F(Splash, ClosedWhileGrowing) {
  int pumps = 0;
  model_ = std::make_unique<SplashModel>(sys_, display_, surface_, kEs);
  surface_.on_pump = [&] {
    if (++pumps == 10) model_->Close();
  };
  model_->Load();
  EXPECT_EQ(surface_.unloads, 1);
  EXPECT_EQ(surface_.heights.back(), 405);  // nothing grows after the close
}

}  // namespace
}  // namespace velmora
