#include "script.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "velmora/utf.h"
#include "words.h"

namespace velmora::cli {

namespace {

constexpr std::size_t kReadChunk = std::size_t{1} << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

LineReader::LineReader(int fd, Output& out) : fd_(fd), out_(out), buf_(kReadChunk) {
  struct stat st {};
  always_ready_ = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

bool LineReader::Fill() {
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);  // a line longer than the buffer
  if (!always_ready_) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) == 0) out_.Flush();  // about to wait: answer what was asked so far
  }
  for (;;) {
    const ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (n > 0) {
      end_ += static_cast<std::size_t>(n);
      return true;
    }
    if (n == 0) return false;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      out_.Flush();
      pollfd p{fd_, POLLIN, 0};
      ::poll(&p, 1, -1);
    } else if (errno != EINTR) {
      throw std::system_error(errno, std::generic_category());
    }
  }
}

bool LineReader::Next(std::string_view& line) {
  for (;;) {
    const char* start = buf_.data() + begin_;
    const auto* nl = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    if (nl != nullptr || eof_) {
      if (nl == nullptr && begin_ == end_) return false;
      const std::size_t len = nl != nullptr ? static_cast<std::size_t>(nl - start) : end_ - begin_;
      line = std::string_view(start, len);
      begin_ += nl != nullptr ? len + 1 : len;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (first_) {
        first_ = false;
        if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
          line.remove_prefix(kByteOrderMark.size());
      }
      return true;
    }
    if (!Fill()) eof_ = true;
  }
}

Outcome RunScript(Session& session, int fd, const std::string& name, Output& out) {
  LineReader reader(fd, out);
  Outcome worst = Outcome::kOk;
  Where where{name, 0};
  std::string_view raw;
  std::u16string line;
  std::vector<std::u16string> words;
  std::vector<Argument> args;
  for (;;) {
    try {
      if (!reader.Next(raw)) break;
    } catch (const std::system_error& e) {
      session.Diagnose(nullptr,
                       "cannot read script '" + Printable(name) + "': " + e.code().message());
      return Outcome::kMistake;
    }
    ++where.line;
    line.clear();
    AppendUtf16(raw, line);
    try {
      SplitLine(line, words);
      if (words.empty()) continue;
      if (words.size() == 3 && words[1] == u"=" && Session::IsField(words[0])) {
        worst = Worse(worst, session.Assign(words[0], ParseWord(words[2]).value, &where));
        continue;
      }
      args.resize(words.size() - 1);
      for (std::size_t i = 1; i < words.size(); ++i) args[i - 1] = ParseWord(words[i]);
      worst = Worse(worst, session.Call(words[0], args, &where));
    } catch (const SyntaxError& e) {
      session.Diagnose(&where, e.what());
      worst = Worse(worst, Outcome::kMistake);
    }
  }
  return worst;
}

}  // namespace velmora::cli
