#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <sys/utsname.h>

#include "linux/linux_sysinfo.h"
#include "velmora/dolva.h"
#include "velmora/locale.h"
#include "velmora/sysinfo.h"
#include "velmora/utf.h"

namespace velmora::linux_platform {
namespace {

namespace fs = std::filesystem;

// A directory of the test's own standing for /etc and /proc.
class LinuxSysinfo : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("velmora_sys_" + std::to_string(getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "etc");
    fs::create_directories(root_ / "proc" / "self");
    paths_.windows_dir = root_ / "etc";
    paths_.proc = root_ / "proc";
    paths_.bus_address = "unix:path=" + (root_ / "no_bus").string();
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path root_;
  SystemPaths paths_;
};

TEST(KernelRelease, NumbersThenTheUpdate) {
  struct Case {
    const char* release;
    std::int32_t major, minor, build;
    const char* update;
  } cases[] = {
      {"6.1.0-18-amd64", 6, 1, 0, "18-amd64"},
      {"5.15.0-91-generic", 5, 15, 0, "91-generic"},
      {"6.18.44-fc-v1272", 6, 18, 44, "fc-v1272"},
      {"4.19", 4, 19, 0, ""},
      {"6.8.12+rpt-rpi-v8", 6, 8, 12, "rpt-rpi-v8"},
      {"5.10.rc1", 5, 10, 0, "rc1"},
      {"custom", 0, 0, 0, "custom"},
  };
  for (const auto& c : cases) {
    const VersionRecord v = ParseKernelRelease(c.release);
    EXPECT_EQ(v.platform_id, 2);
    EXPECT_EQ(v.major, c.major) << c.release;
    EXPECT_EQ(v.minor, c.minor) << c.release;
    EXPECT_EQ(v.build, c.build) << c.release;
    EXPECT_EQ(ToUtf8(v.service_pack), c.update) << c.release;
  }
}

TEST(CpuInfo, CountTypeAndLevelRevisionWord) {
  const ProcessorRecord x86 = ParseCpuInfo(
      "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 158\n"
      "model name\t: Intel(R) Core(TM) i7\nstepping\t: 10\n\n"
      "processor\t: 1\ncpu family\t: 6\nmodel\t\t: 158\nstepping\t: 10\n");
  EXPECT_EQ(x86.count, 2);
  EXPECT_EQ(x86.type, 586);
  // Level 6, revision 158 x 256 + 10 = 40458: past 32767, so the word reads negative.
  EXPECT_EQ(x86.level_revision, static_cast<std::int32_t>(6u + 40458u * 65536u));
  EXPECT_LT(x86.level_revision, 0);

  const ProcessorRecord i486 = ParseCpuInfo("processor : 0\ncpu family : 4\nmodel : 8\n");
  EXPECT_EQ(i486.type, 486);
  EXPECT_EQ(i486.level_revision, 4 + (8 << 8) * 65536);

  const ProcessorRecord arm =
      ParseCpuInfo("processor\t: 0\nCPU architecture: 8\n\nprocessor\t: 1\n\nprocessor\t: 2\n");
  EXPECT_EQ(arm.count, 3);
  EXPECT_EQ(arm.type, 0);
  EXPECT_EQ(arm.level_revision, 0);
}

TEST(CpuInfo, ModelNameByArchitecture) {
  struct Case {
    const char* cpuinfo;
    const char* model;
  } cases[] = {
      {"processor\t: 0\ncpu family\t: 6\nmodel\t\t: 158\n"
       "model name\t: Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\ncpu MHz\t\t: 800.000\n\n"
       "processor\t: 1\nmodel name\t: another\n",
       "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"},
      {"model name\t: Intel(R) Xeon(R) CPU           E5-2680 0 @ 2.70GHz  \r\n",
       "Intel(R) Xeon(R) CPU E5-2680 0 @ 2.70GHz"},
      {"Processor\t: ARMv7 Processor rev 10 (v7l)\nprocessor\t: 0\nmodel name\t: ARMv7 rev 10\n",
       "ARMv7 rev 10"},
      {"processor\t: 0\nProcessor\t: ARMv6-compatible processor rev 7 (v6l)\n",
       "ARMv6-compatible processor rev 7 (v6l)"},
      {"system type\t\t: Atheros AR9344\nprocessor\t\t: 0\ncpu model\t\t: MIPS 74Kc V5.0\n",
       "MIPS 74Kc V5.0"},
      {"processor\t: 0\ncpu\t\t: POWER9 (raw), altivec supported\n",
       "POWER9 (raw), altivec supported"},
      {"processor\t: 0\nBogoMIPS\t: 50.00\nCPU architecture: 8\n", ""},
      {"model name\t:\ncpu model\t: named later\n", "named later"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CpuModelName(c.cpuinfo), c.model) << c.cpuinfo;
}

TEST(OsRelease, PrettyNameElseNameElseLinux) {
  struct Case {
    const char* os_release;
    const char* name;
  } cases[] = {
      {"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n",
       "Debian GNU/Linux 12 (bookworm)"},
      {"NAME=Fedora\n# a comment\nPRETTY_NAME='Fedora Linux 40 (Workstation Edition)'\n",
       "Fedora Linux 40 (Workstation Edition)"},
      {"PRETTY_NAME=\"A \\\"quoted\\\" \\$name\"\n", "A \"quoted\" $name"},
      {"PRETTY_NAME=Alpine\\ Linux\r\n", "Alpine Linux"},
      {"NAME=\"Arch Linux\"\nPRETTY_NAME=\n", "Arch Linux"},
      {"ID=custom\n", "Linux"},
      {"", "Linux"},
  };
  for (const auto& c : cases) EXPECT_EQ(OsReleaseName(c.os_release), c.name) << c.os_release;
}

TEST(MemInfo, SixtyFourBitFiguresAndOldKernels) {
  const auto big = ParseMemInfo(
      "MemTotal:       67108864 kB\nMemFree:         1048576 kB\n"
      "MemAvailable:   25165824 kB\nSwapTotal:       8388608 kB\nSwapFree:        4194304 kB\n");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->total_physical, 68'719'476'736u);
  EXPECT_EQ(big->avail_physical, 25'769'803'776u);
  EXPECT_EQ(big->total_page_file, 8'589'934'592u);
  EXPECT_EQ(big->avail_page_file, 4'294'967'296u);
  EXPECT_EQ(big->total_virtual, 77'309'411'328u);
  EXPECT_EQ(big->avail_virtual, 30'064'771'072u);
  EXPECT_EQ(big->load, 63u);  // 62.5 % in use

  const auto old = ParseMemInfo(
      "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 150 kB\nSwapTotal: 0 kB\n");
  ASSERT_TRUE(old);
  EXPECT_EQ(old->avail_physical, 300u * 1024);
  EXPECT_EQ(old->total_page_file, 0u);
  EXPECT_EQ(old->load, 70u);
  EXPECT_FALSE(ParseMemInfo("SwapTotal: 0 kB\n"));
}

TEST_F(LinuxSysinfo, SystemIniFoundWhateverItsCase) {
  Write(root_ / "etc" / "sYsTeM.iNi",
        "[Boot.Description]\nKeyboard.Typ = Teclado Latinoamericano\nmouse.drv=\n");
  LinuxSystemQueries sys(paths_);
  const LocaleData es = SpanishMexico();
  auto boot = [&](const char16_t* key) {
    return ToUtf8(BootDescription(sys, Variant(u"BOOT.DESCRIPTION"), Variant(key), es));
  };
  EXPECT_EQ(boot(u"keyboard.typ"), "Teclado Latinoamericano");
  EXPECT_EQ(boot(u"mouse.drv"), "Activo");
  EXPECT_EQ(boot(u"network.drv"), "Activo");

  fs::remove(root_ / "etc" / "sYsTeM.iNi");
  fs::create_directory(root_ / "etc" / "system.ini");  // there, but not a file to read
  EXPECT_EQ(boot(u"keyboard.typ"), "Activo");
  EXPECT_EQ(ToUtf8(WindowsDir(sys)), (root_ / "etc").string() + "/");
}

TEST_F(LinuxSysinfo, DriveLettersFollowTheMounts) {
  fs::create_directories(root_ / "data disk");
  Write(root_ / "bound_file", "");
  const std::string data = (root_ / "data\\040disk").string();
  Write(root_ / "proc" / "self" / "mounts",
        "proc /proc proc rw 0 0\n"
        "/dev/vda / ext4 rw 0 0\n"
        "/dev/vda /work ext4 rw 0 0\n"
        "/dev/loop3 /snap/core squashfs ro 0 0\n"
        "/dev/sda1 /boot/efi vfat rw 0 0\n"
        "/dev/sdc1 " +
            (root_ / "bound_file").string() +
            " ext4 rw 0 0\n"
            "tmpfs /run tmpfs rw 0 0\n"
            "/dev/sdb1 " +
            data + " ext4 rw 0 0\n");
  LinuxSystemQueries sys(paths_);
  const auto points = sys.DriveMountPoints();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0], fs::path("/"));
  EXPECT_EQ(points[1], root_ / "data disk");

  const auto d = sys.DiskBytes(u"d:\\");
  ASSERT_TRUE(d);
  EXPECT_GT(d->total, 0u);
  EXPECT_LE(d->available, d->total);
  EXPECT_TRUE(sys.DiskBytes(u"C:/"));
  EXPECT_FALSE(sys.DiskBytes(u"E:\\"));
  EXPECT_FALSE(sys.DiskBytes(u"A:\\"));
  EXPECT_FALSE(sys.DiskBytes(u"C:"));
  EXPECT_TRUE(sys.DiskClusters(u"D:"));
  EXPECT_FALSE(sys.DiskClusters(u"D:\\"));
  EXPECT_TRUE(sys.DiskClusters(std::nullopt));

  const LocaleData es = SpanishMexico();
  EXPECT_EQ(ToUtf8(DiskTotalText(sys, Variant(u"E"), es)), "Disco: E:, Falló.");
  EXPECT_NE(ToUtf8(DiskFreeText(sys, Variant(u"d"), es)).find(" Libres  ("), std::string::npos);
}

TEST_F(LinuxSysinfo, UnreadableProcFilesStillAnswer) {
  // The test's /proc has no cpuinfo or mounts, and its meminfo cannot be read.
  fs::create_directory(root_ / "proc" / "meminfo");
  LinuxSystemQueries sys(paths_);
  EXPECT_GE(sys.Processor().count, 1);
  EXPECT_EQ(sys.Processor().type, 0);
  const MemoryStatus m = sys.Memory();  // from sysinfo(2)
  EXPECT_GT(m.total_physical, 0u);
  EXPECT_LE(m.avail_physical, m.total_physical);
  EXPECT_EQ(sys.DriveMountPoints(), std::vector<fs::path>{"/"});
  EXPECT_FALSE(sys.DiskBytes(u"D:\\"));
}

// The information window's names of the system, its kernel and the processor come from the
// machine's own files; what they do not say falls back to "Linux" and the machine's name.
TEST_F(LinuxSysinfo, MachineNamesFromTheSystemsFiles) {
  utsname u{};
  ASSERT_EQ(uname(&u), 0);
  paths_.os_release = {root_ / "etc" / "os-release", root_ / "usr-lib-os-release"};
  Write(root_ / "usr-lib-os-release", "PRETTY_NAME=\"the vendor's copy\"\n");
  Write(root_ / "etc" / "os-release",
        "NAME=Debian\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
  Write(root_ / "proc" / "cpuinfo",
        "processor : 0\nmodel name : AMD EPYC 7B13 64-Core Processor\n");
  LinuxSystemQueries sys(paths_);
  MachineNames n = sys.Names();
  EXPECT_EQ(ToUtf8(n.system), "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(ToUtf8(n.platform), std::string(u.sysname) + " " + u.release);
  EXPECT_EQ(ToUtf8(n.processor), "AMD EPYC 7B13 64-Core Processor");

  fs::remove(root_ / "etc" / "os-release");  // the vendor's copy answers then
  Write(root_ / "proc" / "cpuinfo", "processor : 0\nBogoMIPS : 50.00\n");
  n = sys.Names();
  EXPECT_EQ(ToUtf8(n.system), "the vendor's copy");
  EXPECT_EQ(ToUtf8(n.processor), u.machine);

  fs::remove(root_ / "usr-lib-os-release");
  fs::remove(root_ / "proc" / "cpuinfo");
  n = sys.Names();
  EXPECT_EQ(ToUtf8(n.system), "Linux");
  EXPECT_EQ(ToUtf8(n.processor), u.machine);
}

// TempDir is the process's temporary folder, $TMPDIR when it names a folder, else /tmp, with a
// final separator.
TEST_F(LinuxSysinfo, TempDirIsTheProcessTemporaryFolder) {
  const char* saved = std::getenv("TMPDIR");
  const std::string before = saved != nullptr ? saved : "";
  fs::create_directories(root_ / "my tmp");
  Write(root_ / "a file", "");
  auto services = FixedServices({});
  services->system = std::make_shared<LinuxSystemQueries>(paths_);
  APIs apis(services);
  struct Case {
    std::optional<std::string> tmpdir;
    std::string temp_dir;
  } cases[] = {
      {std::nullopt, "/tmp/"},
      {"", "/tmp/"},
      {(root_ / "my tmp").string(), (root_ / "my tmp").string() + "/"},
      {(root_ / "my tmp").string() + "/", (root_ / "my tmp").string() + "/"},
      {(root_ / "a file").string(), "/tmp/"},
      {(root_ / "not there").string(), "/tmp/"},
  };
  for (const auto& c : cases) {
    if (c.tmpdir) setenv("TMPDIR", c.tmpdir->c_str(), 1);
    else unsetenv("TMPDIR");
    EXPECT_EQ(ToUtf8(apis.TempDir()), c.temp_dir) << c.tmpdir.value_or("(unset)");
  }
  if (saved != nullptr) setenv("TMPDIR", before.c_str(), 1);
  else unsetenv("TMPDIR");
}

// Whether a library of that name is mapped into this process.
bool Mapped(const std::string& name) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find(name) != std::string::npos) return true;
  }
  return false;
}

TEST_F(LinuxSysinfo, RestartWithoutABusIsRefused) {
  // libdbus-1 comes in with the first request, and only then.
  EXPECT_FALSE(Mapped("libdbus-1.so"));
  // An address where no bus listens: the request cannot reach any logind, real or not.
  LinuxSystemQueries sys(paths_);
  EXPECT_FALSE(sys.EnableShutdownPrivilege());
  EXPECT_FALSE(sys.RequestRestart());
  EXPECT_TRUE(Mapped("libdbus-1.so"));
}

}  // namespace
}  // namespace velmora::linux_platform
