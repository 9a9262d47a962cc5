#pragma once

// A private X server (Xvfb) for one test: its own display number, chosen by
// the server (-displayfd), and its own XDG_RUNTIME_DIR. Ready once it has
// told its display number; stopped by its process id.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char **environ;

class XvfbServer {
 public:
  explicit XvfbServer(const std::string &runtimeDir) {
    if (std::system(("mkdir -p -m 700 " + runtimeDir).c_str()) != 0) {
      why_ = "cannot make " + runtimeDir;
      return;
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return;
    const std::string fd = std::to_string(ends[1]);
    std::vector<std::string> args{"Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"};
    std::vector<char *> argv;
    for (std::string &a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore{"XDG_RUNTIME_DIR=" + runtimeDir};
    for (char **e = environ; *e; ++e) envStore.emplace_back(*e);
    std::vector<char *> envp;
    for (std::string &e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, ends[1], ends[1]);  // keeps it open across exec
    posix_spawn_file_actions_addopen(&files, 2, (runtimeDir + "/xvfb.log").c_str(), O_WRONLY | O_CREAT, 0644);
    if (posix_spawnp(&pid_, "Xvfb", &files, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&files);
    close(ends[1]);
    // The server writes its display number once it accepts connections.
    FILE *in = fdopen(ends[0], "r");
    int number = -1;
    if (pid_ > 0 && in && std::fscanf(in, "%d", &number) == 1) display_ = ':' + std::to_string(number);
    if (in) std::fclose(in);
    if (!display_.empty()) return;
    why_ = pid_ > 0 ? "Xvfb did not start; its log: " : "Xvfb is not installed; ";
    why_ += runtimeDir;
  }
  ~XvfbServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }

  // ":N", or empty with the reason in why() when the server is not there.
  const std::string &display() const { return display_; }
  const std::string &why() const { return why_; }

 private:
  pid_t pid_ = -1;
  std::string display_, why_;
};
