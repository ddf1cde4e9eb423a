// Standard output through one buffer, diagnostics on standard error.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "velmora/services.h"

namespace velmora::cli {

// The results go to standard output through one buffer, written out in large pieces: a script
// of a million calls should cost a million calls, not a million writes. The buffer is written out
// when it fills; at exit; before a diagnostic goes to standard error or a box or window opens,
// so what the user sees stays in order; after every line when standard output is a terminal or
// line buffering was asked for; and when the script reader finds no more input ready (see
// script.h), so a program that sends one line and waits gets its answer.
class Output {
 public:
  Output(int out_fd, int err_fd, bool line_buffered);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output();

  // The buffer a result is appended to; EndLine ends it.
  std::string& buffer() { return buffer_; }
  void Write(std::string_view text) { buffer_.append(text); }
  void EndLine() {
    buffer_.push_back('\n');
    if (line_buffered_ || buffer_.size() >= kChunk) Flush();
  }
  void Flush();

  // One line on standard error, after the results before it.
  void Diagnostic(std::string_view line);

  // Whether writing the results failed (a closed pipe with SIGPIPE ignored, a full disk).
  bool failed() const { return failed_; }
  int error() const { return error_; }  // the errno of the failed write

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 16;
  bool WriteAll(int fd, std::string_view bytes);

  std::string buffer_;
  int out_fd_;
  int err_fd_;
  bool line_buffered_;
  bool failed_ = false;
  int error_ = 0;
};

// A name as a diagnostic may quote it: control characters (a terminal's escapes among them)
// shown as "?", so what the user typed or a script held cannot drive the terminal.
std::string Printable(std::string_view text);

// Puts a flush of `out` before every box, dialog and window the services open: a user answers a
// box having read the results of the lines before it.
void FlushBeforeWindows(Services& services, Output& out);

}  // namespace velmora::cli
