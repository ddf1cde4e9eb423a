#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "linux/console_dialogs.h"

namespace velmora::linux_platform {
namespace {

// A terminal stand-in: a file holding what the user types.
class TypedAnswers {
 public:
  explicit TypedAnswers(const std::string& typed) {
    char name[] = "/tmp/velmora-tty-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    path_ = name;
    std::ofstream(path_) << typed;
  }
  ~TypedAnswers() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Each test decides the switch itself, whatever the environment running the tests says.
class ConsoleBox : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv(kUnattendedVariable); }
  void TearDown() override { unsetenv(kUnattendedVariable); }
};

TEST_F(ConsoleBox, TerminalAnswers) {
  struct Case {
    MsgButtons buttons;
    const char* typed;
    MsgResult expected;
  } cases[] = {
      {MsgButtons::kYesNo, "2\n", MsgResult::kNo},
      {MsgButtons::kYesNo, "si\n", MsgResult::kYes},
      {MsgButtons::kYesNo, "S\xc3\xad\n", MsgResult::kYes},
      {MsgButtons::kYesNo, "\n", MsgResult::kNo},
      {MsgButtons::kYesNo, "9\nquiza\nn\n", MsgResult::kNo},
      {MsgButtons::kYesNoCancel, " c \n", MsgResult::kCancel},
      {MsgButtons::kAbortRetryIgnore, "re\n", MsgResult::kRetry},
      {MsgButtons::kOkCancel, "1\n", MsgResult::kOk},
      {MsgButtons::kOkCancel, "", MsgResult::kCancel},    // end of input
      {MsgButtons::kOk, "x\ny\nz\n1\n", MsgResult::kOk},  // three wrong answers
  };
  for (const auto& c : cases) {
    TypedAnswers tty(c.typed);
    std::ostringstream err;
    ConsoleMessageBox box(err, tty.path());
    EXPECT_EQ(box.Show(u"¿Seguro?", u"Pregunta", MsgIcon::kQuestion, c.buttons), c.expected)
        << c.typed;
  }
}

TEST_F(ConsoleBox, WritesTheBoxAndSaysWhatItChoseWithoutATerminal) {
  std::ostringstream err;
  ConsoleMessageBox box(err, "/nonexistent/tty");
  EXPECT_EQ(box.Show(u"Atención Usuario:\r\n\r\nVentas\r\n", u"USUARIO SIN DERECHO DE ACCESO",
                     MsgIcon::kCritical, MsgButtons::kOk),
            MsgResult::kOk);
  EXPECT_EQ(err.str(),
            "== USUARIO SIN DERECHO DE ACCESO (alto) ==\n"
            "Atención Usuario:\n\nVentas\n"
            "Botones:  1) Aceptar\n"
            "(sin terminal, se elige: Aceptar)\n");
}

TEST_F(ConsoleBox, UnattendedTakesTheDefaultWithoutAsking) {
  struct Case {
    const char* value;
    MsgResult expected;
  } cases[] = {{"1", MsgResult::kNo}, {"yes", MsgResult::kNo}, {"0", MsgResult::kYes}};
  for (const auto& c : cases) {
    setenv(kUnattendedVariable, c.value, 1);
    TypedAnswers tty("1\n");
    std::ostringstream err;
    ConsoleMessageBox box(err, tty.path());
    EXPECT_EQ(box.Show(u"¿Borrar?", u"Confirme", MsgIcon::kQuestion, MsgButtons::kYesNo),
              c.expected)
        << c.value;
    EXPECT_NE(err.str().find("== Confirme (pregunta) ==\n¿Borrar?\n"), std::string::npos);
  }
}

TEST(DefaultButton, LetsNothingHappen) {
  EXPECT_EQ(DefaultButton(MsgButtons::kOk), MsgResult::kOk);
  EXPECT_EQ(DefaultButton(MsgButtons::kYesNo), MsgResult::kNo);
  EXPECT_EQ(DefaultButton(MsgButtons::kYesNoCancel), MsgResult::kCancel);
  EXPECT_EQ(DefaultButton(MsgButtons::kOkCancel), MsgResult::kCancel);
  EXPECT_EQ(DefaultButton(MsgButtons::kRetryCancel), MsgResult::kCancel);
  EXPECT_EQ(DefaultButton(MsgButtons::kAbortRetryIgnore), MsgResult::kAbort);
}

}  // namespace
}  // namespace velmora::linux_platform
