#pragma once

// A server a test runs as its own child: started, asked until it answers,
// and stopped by the process id it was started with, never by name, so the
// servers of tests running side by side never meet. It can be stopped and
// started again, as a sound server that crashes or restarts is.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestOutput.h"

// The first of `programs` (in /usr/bin) that is not installed, as a reason to
// skip; "" when all are there.
inline std::string MissingProgram(const std::vector<std::string> &programs) {
  for (const std::string &name : programs)
    if (access(("/usr/bin/" + name).c_str(), X_OK) != 0)
      return name + " is not installed (scripts/install-deps.sh installs it)";
  return "";
}

class ServerProcess {
 public:
  // How long a server may take to answer: a guard against a hang, never a pace.
  static constexpr std::chrono::seconds kPatience{30};

  // `logPath` receives its stderr; its stdout goes to `logPath`.out unless
  // `piped`, when ReadLine reads it.
  ServerProcess(std::string name, std::vector<std::string> args, std::string logPath, bool piped = false)
      : name_(std::move(name)), args_(std::move(args)), log_(std::move(logPath)), piped_(piped) {}
  ~ServerProcess() { Stop(); }
  ServerProcess(const ServerProcess &) = delete;
  ServerProcess &operator=(const ServerProcess &) = delete;

  // Starts /usr/bin/NAME with `env` and asks `answers` until it says yes;
  // false, with the reason in Why(), when the server is not installed, ends,
  // or never answers.
  bool Start(const std::vector<std::string> &env, const std::function<bool()> &answers) {
    Stop();
    if (std::string missing = MissingProgram({name_}); !missing.empty()) return Fail(missing);
    child_ = std::make_unique<ChildProcess>("/usr/bin/" + name_, args_, env, log_, piped_ ? "" : log_ + ".out");
    if (!child_->Started()) return Fail(name_ + " could not be started");
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (child_->Running()) {
      if (answers()) {
        why_.clear();
        return true;
      }
      if (std::chrono::steady_clock::now() > deadline) return Fail(name_ + " did not answer within 30 s; " + Log());
    }
    return Fail(name_ + " ended as it started; " + Log());
  }
  // Sends `signal` to the process started and reaps it.
  void Stop(int signal = SIGTERM) {
    if (!child_ || !child_->Running()) return;
    child_->Signal(signal);
    child_->Wait();
  }

  bool Running() const { return child_ && child_->Running(); }
  pid_t Pid() const { return child_ ? child_->Pid() : -1; }
  bool ReadLine(std::string *line) { return child_ && child_->ReadLine(line); }
  const std::string &Why() const { return why_; }
  std::string Log() const { return "its log (" + log_ + "): " + Slurp(log_); }

 private:
  bool Fail(const std::string &why) {
    Stop(SIGKILL);
    why_ = why;
    return false;
  }

  std::string name_;
  std::vector<std::string> args_;
  std::string log_;
  bool piped_;
  std::unique_ptr<ChildProcess> child_;
  std::string why_;
};
