#pragma once

// A PulseAudio server of a test's own, for the live audio paths: a private
// runtime folder, the native protocol on a socket there (anonymous), and a
// null sink "drovane" whose monitor is the default source. It is started,
// asked (pactl info) until it answers, and stopped by its pid; it can be
// stopped (killed, even) and started again on the same socket, as a desktop's
// server restarts. Clients reach it through Env(); SDL through
// SDL_AUDIODRIVER=pulseaudio.
#include <string>
#include <vector>

#include "RuntimeFolder.h"
#include "ServerProcess.h"

class PulseServer {
 public:
  PulseServer()
      : folder_("pulse"),
        server_("pulseaudio",
                {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no", "-L",
                 "module-native-protocol-unix auth-anonymous=1 socket=" + folder_ / "native", "-L",
                 "module-null-sink sink_name=drovane"},
                folder_ / "server.log") {
    Start();
  }

  // Starts the server, again after Stop(); false with the reason in Why().
  bool Start() {
    why_ = folder_.Ok() ? MissingProgram({"pulseaudio", "pactl"}) : "no private runtime folder could be made";
    // A refused pactl means the server is not listening yet.
    if (why_.empty() && !server_.Start(Env(), [this] { return Pactl({"info"}) == 0; })) why_ = server_.Why();
    return why_.empty();
  }
  // Sends `signal` to the server's pid (SIGKILL for a crash) and reaps it.
  void Stop(int signal = SIGTERM) { server_.Stop(signal); }
  pid_t Pid() const { return server_.Pid(); }

  bool Ok() const { return why_.empty(); }
  const std::string &Why() const { return why_; }
  const std::string &Dir() const { return folder_.Path(); }
  std::string Log() const { return server_.Log(); }

  // "NAME=value" settings that send clients (pactl, paplay, SDL) here. SDL
  // lists monitors as capture devices only when asked to.
  std::vector<std::string> Env() const {
    return {"PULSE_SERVER=unix:" + folder_ / "native", "XDG_RUNTIME_DIR=" + Dir(), "HOME=" + Dir(),
            "SDL_AUDIODRIVER=pulseaudio", "SDL_AUDIO_INCLUDE_MONITORS=1"};
  }
  // The same for this process.
  void UseHere() const { UseEnvironment(Env()); }

  // Runs pactl with `args`; its status, and its output lines in `out`.
  int Pactl(const std::vector<std::string> &args, std::vector<std::string> *out = nullptr) const {
    return Run("pactl", args, out);
  }
  int Run(const std::string &name, const std::vector<std::string> &args,
          std::vector<std::string> *out = nullptr) const {
    return folder_.Run(name, args, Env(), out);
  }
  static std::string Program(const std::string &name) { return "/usr/bin/" + name; }

 private:
  RuntimeFolder folder_;
  ServerProcess server_;
  std::string why_;
};
