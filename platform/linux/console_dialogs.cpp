#include "console_dialogs.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

#include "velmora/utf.h"

namespace velmora::linux_platform {

namespace {

std::vector<MsgResult> ButtonsOf(MsgButtons buttons) {
  using R = MsgResult;
  switch (buttons) {
    case MsgButtons::kOk: return {R::kOk};
    case MsgButtons::kOkCancel: return {R::kOk, R::kCancel};
    case MsgButtons::kAbortRetryIgnore: return {R::kAbort, R::kRetry, R::kIgnore};
    case MsgButtons::kYesNoCancel: return {R::kYes, R::kNo, R::kCancel};
    case MsgButtons::kYesNo: return {R::kYes, R::kNo};
    case MsgButtons::kRetryCancel: return {R::kRetry, R::kCancel};
  }
  return {R::kOk};
}

std::string_view IconLabel(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::kNone: return "";
    case MsgIcon::kCritical: return " (alto)";
    case MsgIcon::kQuestion: return " (pregunta)";
    case MsgIcon::kExclamation: return " (advertencia)";
    case MsgIcon::kInformation: return " (información)";
  }
  return "";
}

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
    if (Fold(ButtonLabel(b)).rfind(answer, 0) != 0) continue;
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

MsgResult DefaultButton(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::kOk: return MsgResult::kOk;
    case MsgButtons::kYesNo: return MsgResult::kNo;
    case MsgButtons::kOkCancel:
    case MsgButtons::kYesNoCancel:
    case MsgButtons::kRetryCancel: return MsgResult::kCancel;
    case MsgButtons::kAbortRetryIgnore: return MsgResult::kAbort;
  }
  return MsgResult::kOk;
}

std::string_view ButtonLabel(MsgResult button) {
  switch (button) {
    case MsgResult::kOk: return "Aceptar";
    case MsgResult::kCancel: return "Cancelar";
    case MsgResult::kAbort: return "Anular";
    case MsgResult::kRetry: return "Reintentar";
    case MsgResult::kIgnore: return "Omitir";
    case MsgResult::kYes: return "S\xc3\xad";
    case MsgResult::kNo: return "No";
  }
  return "";
}

std::string DescribeBox(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                        MsgButtons buttons) {
  std::string out = "== " + ToUtf8(title) + std::string(IconLabel(icon)) + " ==\n";
  const std::string body = ToUtf8(text);
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') continue;
    out += body[i] == '\r' ? '\n' : body[i];
  }
  if (!out.empty() && out.back() != '\n') out += '\n';
  out += "Botones:";
  int n = 0;
  for (const auto& b : ButtonsOf(buttons)) {
    out += "  " + std::to_string(++n) + ") " + std::string(ButtonLabel(b));
  }
  return out + "\n";
}

ConsoleMessageBox::ConsoleMessageBox(std::ostream& out, std::string terminal)
    : out_(out), terminal_(std::move(terminal)) {}

ConsoleMessageBox::ConsoleMessageBox() : ConsoleMessageBox(std::cerr) {}

MsgResult ConsoleMessageBox::Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                                  MsgButtons buttons) {
  out_ << DescribeBox(text, title, icon, buttons);
  const MsgResult fallback = DefaultButton(buttons);
  auto choose = [&](std::string_view why) {
    out_ << "(" << why << ": " << ButtonLabel(fallback) << ")\n";
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
    prompt << "Elija un botón [" << ButtonLabel(fallback) << "]: " << std::flush;
    std::string line;
    if (!std::getline(in, line)) return choose("sin respuesta, se elige");
    const std::string answer = Fold(line);
    if (answer.empty()) return fallback;
    if (const MsgResult* b = Match(answer, choices)) return *b;
  }
  return choose("sin respuesta válida, se elige");
}

}  // namespace velmora::linux_platform
