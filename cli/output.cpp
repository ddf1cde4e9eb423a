#include "output.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "velmora/photo.h"
#include "velmora/sysinfo.h"

namespace velmora::cli {

Output::Output(int out_fd, int err_fd, bool line_buffered)
    : out_fd_(out_fd), err_fd_(err_fd), line_buffered_(line_buffered) {
  buffer_.reserve(kChunk + 4096);
}

Output::~Output() { Flush(); }

bool Output::WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd p{fd, POLLOUT, 0};  // a non-blocking descriptor inherited from the caller
      ::poll(&p, 1, -1);
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

void Output::Flush() {
  if (buffer_.empty()) return;
  if (!failed_ && !WriteAll(out_fd_, buffer_)) {
    failed_ = true;
    error_ = errno;
  }
  buffer_.clear();
}

void Output::Diagnostic(std::string_view line) {
  Flush();
  std::string text(line);
  text.push_back('\n');
  WriteAll(err_fd_, text);
}

std::string Printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return out;
}

namespace {

class FlushingMessageBox final : public MessageBox {
 public:
  FlushingMessageBox(std::shared_ptr<MessageBox> inner, Output& out)
      : inner_(std::move(inner)), out_(out) {}
  MsgResult Show(std::u16string_view text, std::u16string_view title, MsgIcon icon,
                 MsgButtons buttons) override {
    out_.Flush();
    return inner_->Show(text, title, icon, buttons);
  }

 private:
  std::shared_ptr<MessageBox> inner_;
  Output& out_;
};

class FlushingSystemWindows final : public SystemWindows {
 public:
  FlushingSystemWindows(std::shared_ptr<SystemWindows> inner, Output& out)
      : inner_(std::move(inner)), out_(out) {}
  void ShowPcInfo(bool modal) override {
    out_.Flush();
    inner_->ShowPcInfo(modal);
  }
  void ShowSplash(bool modal) override {
    out_.Flush();
    inner_->ShowSplash(modal);
  }
  bool AnyOpen() const override { return inner_->AnyOpen(); }
  void WaitWhileOpen() override {
    out_.Flush();
    inner_->WaitWhileOpen();
  }

 private:
  std::shared_ptr<SystemWindows> inner_;
  Output& out_;
};

class FlushingCaptureWindowHost final : public CaptureWindowHost {
 public:
  FlushingCaptureWindowHost(std::shared_ptr<CaptureWindowHost> inner, Output& out)
      : inner_(std::move(inner)), out_(out) {}
  void ShowModal(CaptureWindow& window) override {
    out_.Flush();
    inner_->ShowModal(window);
  }

 private:
  std::shared_ptr<CaptureWindowHost> inner_;
  Output& out_;
};

class FlushingFileDialog final : public FileDialog {
 public:
  FlushingFileDialog(std::shared_ptr<FileDialog> inner, Output& out)
      : inner_(std::move(inner)), out_(out) {}
  std::u16string OpenFile(std::u16string_view title, std::u16string_view filter,
                          std::u16string_view initial_name) override {
    out_.Flush();
    return inner_->OpenFile(title, filter, initial_name);
  }

 private:
  std::shared_ptr<FileDialog> inner_;
  Output& out_;
};

}  // namespace

void FlushBeforeWindows(Services& services, Output& out) {
  if (services.message_box)
    services.message_box = std::make_shared<FlushingMessageBox>(services.message_box, out);
  if (services.system_windows)
    services.system_windows = std::make_shared<FlushingSystemWindows>(services.system_windows, out);
  if (services.capture_window)
    services.capture_window =
        std::make_shared<FlushingCaptureWindowHost>(services.capture_window, out);
  if (services.file_dialog)
    services.file_dialog = std::make_shared<FlushingFileDialog>(services.file_dialog, out);
}

}  // namespace velmora::cli
