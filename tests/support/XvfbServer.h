#pragma once

// A private X server (Xvfb) for one test: its own display number, chosen by
// the server (-displayfd), and its own XDG_RUNTIME_DIR. Ready once it has
// told its display number; stopped by its process id. Its one screen is
// 1280×1024 unless the test asks for another size ("320x240x24").
#include <signal.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"

class XvfbServer {
 public:
  explicit XvfbServer(const std::string &runtimeDir, const std::string &screen = "1280x1024x24") {
    if (std::system(("mkdir -p -m 700 " + runtimeDir).c_str()) != 0) {
      why_ = "cannot make " + runtimeDir;
      return;
    }
    // The server writes its display number on stdout once it accepts connections.
    server_ = std::make_unique<ChildProcess>(
        "/usr/bin/Xvfb", std::vector<std::string>{"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"},
        std::vector<std::string>{"XDG_RUNTIME_DIR=" + runtimeDir}, runtimeDir + "/xvfb.log");
    std::string number;
    if (server_->Started() && server_->ReadLine(&number) && !number.empty()) {
      display_ = ':' + number;
      return;
    }
    why_ = server_->Started() ? "Xvfb did not start; its log: " : "Xvfb is not installed; ";
    why_ += runtimeDir;
  }
  ~XvfbServer() {
    if (!server_ || !server_->Started() || !server_->Running()) return;
    server_->Signal(SIGTERM);
    server_->Wait();
  }

  // ":N", or empty with the reason in why() when the server is not there.
  const std::string &display() const { return display_; }
  const std::string &why() const { return why_; }

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string display_, why_;
};
