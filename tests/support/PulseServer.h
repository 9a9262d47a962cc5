#pragma once

// A PulseAudio server of a test's own, for the live audio paths: a private
// runtime folder, the native protocol on a socket there (anonymous), and a
// null sink "drovane" whose monitor is the default source. It is started,
// asked (pactl info) until it answers, and stopped by its pid. Clients reach
// it through Env(); SDL through SDL_AUDIODRIVER=pulseaudio.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestOutput.h"

class PulseServer {
 public:
  PulseServer() {
    char folder[] = "/tmp/drovane-pulse-XXXXXX";
    if (!mkdtemp(folder)) {
      why_ = "no private runtime folder could be made";
      return;
    }
    dir_ = folder;
    if (access(Program("pulseaudio").c_str(), X_OK) != 0 || access(Program("pactl").c_str(), X_OK) != 0) {
      why_ = "pulseaudio and pactl are not installed (scripts/install-deps.sh installs them)";
      return;
    }
    server_ = std::make_unique<ChildProcess>(
        Program("pulseaudio"),
        std::vector<std::string>{"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                                 "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + dir_ + "/native",
                                 "-L", "module-null-sink sink_name=drovane"},
        Env(), dir_ + "/server.log");
    // Each refused pactl means the server is not listening yet; one that
    // exits tells why it will never be.
    while (server_->Started() && server_->Running()) {
      if (Pactl({"info"}) == 0) return;
    }
    why_ = "the PulseAudio server did not start: " + Log();
  }
  ~PulseServer() {
    if (server_ && server_->Running()) {
      server_->Signal(SIGTERM);
      server_->Wait();
    }
    server_.reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  bool Ok() const { return why_.empty(); }
  const std::string &Why() const { return why_; }
  const std::string &Dir() const { return dir_; }
  std::string Log() const { return Slurp(dir_ + "/server.log"); }

  // "NAME=value" settings that send clients (pactl, paplay, SDL) here. SDL
  // lists monitors as capture devices only when asked to.
  std::vector<std::string> Env() const {
    return {"PULSE_SERVER=unix:" + dir_ + "/native", "XDG_RUNTIME_DIR=" + dir_, "HOME=" + dir_,
            "SDL_AUDIODRIVER=pulseaudio", "SDL_AUDIO_INCLUDE_MONITORS=1"};
  }
  // The same for this process.
  void UseHere() const {
    for (const std::string &e : Env()) {
      const size_t eq = e.find('=');
      setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
  }

  // Runs pactl with `args`; its status, and its output lines in `out`.
  int Pactl(const std::vector<std::string> &args, std::vector<std::string> *out = nullptr) const {
    return Run("pactl", args, out);
  }
  int Run(const std::string &name, const std::vector<std::string> &args,
          std::vector<std::string> *out = nullptr) const {
    ChildProcess child(Program(name), args, Env(), dir_ + "/" + name + ".err");
    std::string line;
    while (child.Started() && child.ReadLine(&line)) {
      if (out) out->push_back(line);
    }
    return child.Started() ? child.Wait() : -1;
  }
  static std::string Program(const std::string &name) { return "/usr/bin/" + name; }

 private:
  std::string dir_;
  std::string why_;
  std::unique_ptr<ChildProcess> server_;
};
