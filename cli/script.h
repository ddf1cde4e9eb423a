// Scripts: one call per line on one Dolva, read from a file or from standard input.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "output.h"
#include "session.h"

namespace velmora::cli {

// Reads the lines of a descriptor in large pieces. A UTF-8 byte-order mark at the start is
// skipped and a carriage return before the line end dropped. Before it waits for more input it
// flushes `out` when nothing more is ready, so a program that writes one line and then waits
// for the answer gets it, while a file or a busy pipe is read and answered in large pieces.
class LineReader {
 public:
  LineReader(int fd, Output& out);
  // The next line without its end; false at the end of the input. Raises std::system_error
  // when reading fails.
  bool Next(std::string_view& line);

 private:
  bool Fill();

  int fd_;
  Output& out_;
  bool always_ready_;  // a regular file never keeps the reader waiting
  std::vector<char> buf_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool first_ = true;
};

// Runs the script read from `fd`, named `name` in its diagnostics ("-" for standard input).
// The worst outcome of its lines: a mistake in a line (no such method, an open quote) is
// reported with the line's place and the script goes on.
Outcome RunScript(Session& session, int fd, const std::string& name, Output& out);

}  // namespace velmora::cli
