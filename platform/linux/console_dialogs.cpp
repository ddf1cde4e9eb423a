#include "console_dialogs.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

#include "velmora/utf.h"

namespace velmora::linux_platform {

namespace {

// ASCII lower case with the accent of "Sí" dropped, so "si", "SI" and "sí" all answer Yes.
std::string Fold(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s.compare(i, 2, "\xc3\xad") == 0 || s.compare(i, 2, "\xc3\x8d") == 0) {  // í, Í
      out += 'i';
      ++i;
    } else {
      const char c = s[i];
      out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '\r')) out.pop_back();
  while (!out.empty() && out.front() == ' ') out.erase(0, 1);
  return out;
}

// The button an answer typed on the terminal names: its number, or its label or the label's
// beginning; nothing when the answer names none (or more than one).
const MsgResult* Match(const std::string& answer, const std::vector<MsgResult>& buttons) {
  if (answer.size() == 1 && answer[0] >= '1' && answer[0] <= '9') {
    const std::size_t i = static_cast<std::size_t>(answer[0] - '1');
    return i < buttons.size() ? &buttons[i] : nullptr;
  }
  const MsgResult* found = nullptr;
  for (const auto& b : buttons) {
    if (Fold(ToUtf8(ButtonLabel(b))).rfind(answer, 0) != 0) continue;
    if (found != nullptr) return nullptr;
    found = &b;
  }
  return found;
}

}  // namespace

bool UnattendedMode() {
  const char* value = std::getenv(kUnattendedVariable);
  return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

ConsoleMessageBox::ConsoleMessageBox(std::ostream& out, std::string terminal)
    : out_(out), terminal_(std::move(terminal)) {}

ConsoleMessageBox::ConsoleMessageBox() : ConsoleMessageBox(std::cerr) {}

MsgResult ConsoleMessageBox::Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                                  MsgButtons buttons) {
  out_ << ToUtf8(DescribeBox(text, title, icon, buttons));
  const MsgResult fallback = DefaultButton(buttons);
  auto choose = [&](std::string_view why) {
    out_ << "(" << why << ": " << ToUtf8(ButtonLabel(fallback)) << ")\n";
    out_.flush();
    return fallback;
  };
  if (UnattendedMode()) return choose("desatendido, se elige");
  out_.flush();

  // The answer comes from the terminal itself, not from standard input, which may be a pipe
  // feeding a script of calls.
  std::ifstream in(terminal_);
  std::ofstream prompt(terminal_, std::ios::app);
  if (!in || !prompt) return choose("sin terminal, se elige");
  const std::vector<MsgResult> choices = ButtonsOf(buttons);
  for (int attempt = 0; attempt < 3; ++attempt) {
    prompt << "Elija un botón [" << ToUtf8(ButtonLabel(fallback)) << "]: " << std::flush;
    std::string line;
    if (!std::getline(in, line)) return choose("sin respuesta, se elige");
    const std::string answer = Fold(line);
    if (answer.empty()) return fallback;
    if (const MsgResult* b = Match(answer, choices)) return *b;
  }
  return choose("sin respuesta válida, se elige");
}

}  // namespace velmora::linux_platform
