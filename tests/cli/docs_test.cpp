// Every operation is described for its users, and every example prints what its description
// says it prints: each example runs through the command line as a user would type it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "session.h"
#include "velmora/dispatch.h"
#include "velmora/utf.h"

namespace velmora {
namespace {

std::string Name(const Operation& op) { return ToUtf8(op.name); }

// The largest parameter count among the entries of the name (a field's writing has its value).
std::size_t ParamCount(const Operation& of) {
  std::size_t n = 0;
  for (const auto& op : Surface()) {
    if (op.iface == of.iface && op.name == of.name) n = std::max(n, op.params.size());
  }
  return n;
}

TEST(Documentation, EveryOperationIsDescribed) {
  for (const auto& op : Surface()) {
    const OperationDoc* doc = Documentation(op);
    ASSERT_NE(doc, nullptr) << Name(op);
    EXPECT_GT(doc->summary.size(), 20u) << Name(op);
    EXPECT_EQ(doc->params.size(), ParamCount(op)) << Name(op);
    for (const auto& meaning : doc->params) EXPECT_FALSE(meaning.empty()) << Name(op);
    EXPECT_NE(doc->example.find(u"velmora "), std::u16string_view::npos) << Name(op);
    EXPECT_NE(doc->example.find(op.name), std::u16string_view::npos) << Name(op);
    ASSERT_FALSE(doc->output.empty()) << Name(op);
    EXPECT_EQ(doc->output.back(), u'\n') << Name(op);
  }
}

// Digits of figures that differ from machine to machine, all made one.
std::string Shape(const std::string& s) {
  std::string out;
  for (char c : s) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit || out.empty() || out.back() != '#') out.push_back(digit ? '#' : c);
  }
  return out;
}

// Runs a command line with the command line first on the PATH, in a plain environment: es_MX
// from LANG, no display, no system bus (no restart request reaches anyone), boxes unattended,
// and in a sanitized build the leak checker told about a library's leaks that are not ours.
std::string RunExample(std::u16string_view example) {
  const std::string script =
      ::testing::TempDir() + "velmora_example_" + std::to_string(::getpid()) + ".sh";
  std::ofstream(script) << ToUtf8(example) << "\n";
  // Qt wants a private runtime folder of the user's and says so on standard error otherwise.
  const std::string runtime =
      ::testing::TempDir() + "velmora_runtime_" + std::to_string(::getpid());
  ::mkdir(runtime.c_str(), 0700);
  const std::string command = "env -i XDG_RUNTIME_DIR=" + runtime +
                              " PATH=" VELMORA_CLI_DIR
                              ":/usr/bin:/bin LANG=es_MX.UTF-8 "
                              "VELMORA_UNATTENDED=1 DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent "
                              "LSAN_OPTIONS=print_suppressions=0:suppressions=" VELMORA_CLI_TEST_DIR
                              "/lsan.supp sh " +
                              script + " 2>&1";
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "popen failed";
  char buf[4096];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  pclose(pipe);
  std::remove(script.c_str());
  return out;
}

TEST(Documentation, ExamplesPrintWhatTheySay) {
  std::set<const OperationDoc*> seen;
  for (const auto& op : Surface()) {
    const OperationDoc* doc = Documentation(op);
    if (doc == nullptr || !seen.insert(doc).second) continue;
    const std::string printed = RunExample(doc->example);
    const std::string said = ToUtf8(doc->output);
    if (doc->output_varies) {
      EXPECT_EQ(Shape(printed), Shape(said)) << ToUtf8(doc->example);
    } else {
      EXPECT_EQ(printed, said) << ToUtf8(doc->example);
    }
  }
}

}  // namespace
}  // namespace velmora
