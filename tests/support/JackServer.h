#pragma once

// A JACK server (jackd2) of a test's own on the dummy driver: 48000 Hz in
// periods of 1024 frames, paced by the clock as a sound card would, one
// test's at a time and always under the same name (JackNameSlot). Clients
// find it through JACK_DEFAULT_SERVER and never start a server of their
// own. Synchronous mode makes the server wait for its clients each period,
// so a loaded machine slows the graph down instead of dropping a period of
// a test's sound.
//
// jackd keeps its sockets and shared memory in /dev/shm under the server's
// name: a server stopped by SIGTERM clears them; one killed outright leaves
// them for the next start under the same name to take over, so Stop(SIGKILL)
// then Start() is a crash and a restart, as a driver sees them. What a crash
// leaves of its clients (their semaphores) goes with the test.
#include <filesystem>
#include <string>
#include <vector>

#include "JackNameSlot.h"
#include "RuntimeFolder.h"
#include "ServerProcess.h"

// The tests' JACK client (tests/support/jack), as the build names it to a
// test; "" where it was not built.
#ifdef JACK_TEST_CLIENT
inline constexpr const char *kJackTestClient = JACK_TEST_CLIENT;
#else
inline constexpr const char *kJackTestClient = "";
#endif

class JackServer {
 public:
  static constexpr int kRate = 48000;
  static constexpr int kPeriod = 1024;

  JackServer()
      : folder_("jack"),
        name_(slot_.Name()),
        server_("jackd",
                {"--name", name_, "--sync", "--port-max", "64", "-d", "dummy", "--rate", std::to_string(kRate),
                 "--period", std::to_string(kPeriod)},
                folder_ / "jackd.log") {
    Start();
  }
  ~JackServer() {
    server_.Stop();
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator("/dev/shm", error))
      if (entry.path().filename().string().find("_" + name_ + "_") != std::string::npos)
        std::filesystem::remove(entry.path(), error);
  }

  // Starts the server, again after Stop(); false with the reason in Why().
  bool Start() {
    why_ = !folder_.Ok()   ? "no private runtime folder could be made"
           : name_.empty() ? "the lock on the tests' JACK server could not be had"
                           : MissingProgram({"jackd", "jack_lsp"});
    // jack_lsp fails at once while nothing listens under the name.
    if (why_.empty() && !server_.Start(Env(), [this] { return Run("jack_lsp", {}) == 0; })) why_ = server_.Why();
    return why_.empty();
  }
  // Sends `signal` to the server's pid (SIGKILL for a crash) and reaps it.
  void Stop(int signal = SIGTERM) { server_.Stop(signal); }
  pid_t Pid() const { return server_.Pid(); }

  bool Ok() const { return why_.empty(); }
  const std::string &Why() const { return why_; }
  const std::string &Name() const { return name_; }
  const std::string &Dir() const { return folder_.Path(); }
  std::string Log() const { return server_.Log(); }

  // "NAME=value" settings that send JACK clients here.
  std::vector<std::string> Env() const {
    return {"JACK_DEFAULT_SERVER=" + name_, "JACK_NO_START_SERVER=1", "XDG_RUNTIME_DIR=" + Dir(), "HOME=" + Dir()};
  }
  // The same for this process.
  void UseHere() const { UseEnvironment(Env()); }

  // Runs a JACK client (jack_lsp, jack_connect, ...) with `args`; its status,
  // and its output lines in `out`.
  int Run(const std::string &name, const std::vector<std::string> &args,
          std::vector<std::string> *out = nullptr) const {
    return folder_.Run(name, args, Env(), out);
  }

 private:
  RuntimeFolder folder_;
  JackNameSlot slot_;
  std::string name_;
  ServerProcess server_;
  std::string why_;
};
