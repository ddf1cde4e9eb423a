// velmora: calls the routines of Dolva and APIs by name from a shell or a script.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "help.h"
#include "linux/icu_locale.h"
#include "linux/services.h"
#include "locales.h"
#include "options.h"
#include "output.h"
#include "script.h"
#include "session.h"
#include "velmora/sysinfo.h"
#include "velmora/utf.h"
#include "words.h"

namespace velmora::cli {
namespace {

constexpr int kMistake = static_cast<int>(Outcome::kMistake);

// The locale of the calls: --locale when given (already checked), else the environment's; an
// environment locale ICU does not know falls back to es_MX with one warning.
std::string CallLocale(const std::optional<std::string>& given, Output& out) {
  if (given) return *given;
  const std::string env = linux_platform::EnvironmentLocaleName();
  if (auto known = KnownLocale(env)) return *known;
  out.Diagnostic("velmora: warning: unknown locale '" + Printable(env) + "' in " +
                 LocaleVariable() + "; using es_MX");
  return "es_MX";
}

// A library window left open by a call (System with bModal false) keeps the process running
// until the user closes it, as it would keep a host's own event loop busy.
void WaitForWindows(const Services& services) {
  if (services.system_windows) services.system_windows->WaitWhileOpen();
}

// Opens a script for reading; -1 with the reason in `why` when it cannot be read.
int OpenScript(const std::string& path, std::string& why) {
  if (path == "-") return STDIN_FILENO;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    why = std::strerror(EISDIR);
    return -1;
  }
  return fd;
}

int Run(const Options& opts, Output& out) {
  auto mistake = [&](const std::string& message) {
    out.Diagnostic("velmora: " + message);
    return kMistake;
  };
  std::optional<std::string> locale;
  if (opts.locale) {
    locale = KnownLocale(*opts.locale);
    if (!locale)
      return mistake("unknown locale '" + Printable(*opts.locale) + "' (e.g. es_MX, en_US)");
  }
  if (opts.version) {
    out.Write(VersionLine());
    out.EndLine();
    return 0;
  }
  // "velmora help METHOD", "velmora METHOD --help", or the usage.
  const bool help_word = !opts.operands.empty() && opts.operands.front() == "help";
  if (help_word || opts.help) {
    const std::size_t at = help_word ? 1 : 0;
    if (opts.operands.size() <= at) {
      out.Write(kUsage);
      return 0;
    }
    const std::u16string name = FromUtf8(opts.operands[at]);
    if (help_word && opts.operands.size() > 2) return mistake("help takes one method name");
    if (WriteHelp(out, name, IsSpanish(CallLocale(locale, out)))) return 0;
    out.Diagnostic("velmora: no method '" + Printable(opts.operands[at]) +
                   "' (see velmora --list)");
    if (const auto near = Suggestion(name); !near.empty())
      out.Diagnostic("velmora: did you mean " + ToUtf8(near) + "?");
    return kMistake;
  }
  if (opts.list) {
    WriteList(out);
    return 0;
  }
  if (opts.script && !opts.operands.empty()) return mistake("--script takes no method");
  if (!opts.script && opts.operands.empty()) {
    mistake("no method given");
    out.Diagnostic(kTryHelp);
    return kMistake;
  }

  int script_fd = -1;
  if (opts.script) {
    std::string why;
    script_fd = OpenScript(*opts.script, why);
    if (script_fd < 0)
      return mistake("cannot read script '" + Printable(*opts.script) + "': " + why);
  }
  // Boxes open as windows where a person can answer them, on the terminal otherwise; the window
  // system is loaded only then.
  auto services = linux_platform::LinuxServices(CallLocale(locale, out));
  FlushBeforeWindows(*services, out);
  if (opts.now) services->clock = std::make_shared<FixedClock>(*opts.now);
  Session session({opts.json}, services, out);

  Outcome outcome = Outcome::kOk;
  if (opts.script) {
    outcome = RunScript(session, script_fd, *opts.script, out);
    if (script_fd != STDIN_FILENO) ::close(script_fd);
  } else {
    std::vector<Argument> args;
    try {
      for (std::size_t i = 1; i < opts.operands.size(); ++i)
        args.push_back(ParseWord(FromUtf8(opts.operands[i])));
    } catch (const SyntaxError& e) {
      return mistake(e.what());
    }
    outcome = session.Call(FromUtf8(opts.operands.front()), args, nullptr);
  }
  WaitForWindows(*services);
  return static_cast<int>(outcome);
}

int Main(int argc, char** argv) {
  Options opts;
  try {
    opts = ParseOptions(argc, argv);
  } catch (const SyntaxError& e) {
    Output err(STDOUT_FILENO, STDERR_FILENO, false);
    err.Diagnostic(std::string("velmora: ") + e.what());
    err.Diagnostic(kTryHelp);
    return kMistake;
  }
  // A terminal shows each result as it comes; a file or a pipe takes them in large pieces.
  Output out(STDOUT_FILENO, STDERR_FILENO, opts.line_buffered || ::isatty(STDOUT_FILENO) != 0);
  int status = Run(opts, out);
  out.Flush();
  if (out.failed()) {
    out.Diagnostic(std::string("velmora: cannot write the results: ") + std::strerror(out.error()));
    if (status == 0) status = 1;
  }
  return status;
}

}  // namespace
}  // namespace velmora::cli

int main(int argc, char** argv) { return velmora::cli::Main(argc, argv); }
