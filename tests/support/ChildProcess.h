#pragma once

// A command-line tool run as a child whose output is read as it comes, so a
// test can act on what it printed (send Ctrl-C once readings flow) without
// sleeping. Its stderr goes to a file, and so does its stdout when a server's
// output is only kept for the record (an unread pipe would stall it once full).
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

class ChildProcess {
 public:
  // Runs `program` with `args`, the environment plus `extraEnv` ("NAME=value"),
  // and SIGINT, SIGTERM and SIGHUP at their default actions whatever this
  // process does with them;
  // stdout to `outPath` when given, else to a pipe for ReadLine.
  ChildProcess(const std::string &program, const std::vector<std::string> &args,
               const std::vector<std::string> &extraEnv, const std::string &errPath, const std::string &outPath = "") {
    int ends[2] = {-1, -1};
    if (outPath.empty() && pipe2(ends, O_CLOEXEC) != 0) return;
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<std::string> envStore(extraEnv);
    for (char **e = environ; *e; ++e) envStore.emplace_back(*e);  // the first of a name wins
    std::vector<char *> argv, envp;
    for (std::string &a : argStore) argv.push_back(a.data());
    for (std::string &e : envStore) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    if (outPath.empty())
      posix_spawn_file_actions_adddup2(&files, ends[1], 1);
    else
      posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGHUP);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
    if (posix_spawn(&pid_, program.c_str(), &files, &attr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    if (outPath.empty()) {
      close(ends[1]);
      out_ = fdopen(ends[0], "r");
    }
    piped_ = outPath.empty();
  }
  ~ChildProcess() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (out_) std::fclose(out_);
  }

  bool Started() const { return pid_ > 0 && (out_ || !piped_); }
  // The next line of stdout without its newline; false at the end.
  bool ReadLine(std::string *line) {
    if (!out_) return false;
    char *text = nullptr;
    size_t size = 0;
    const ssize_t n = getline(&text, &size, out_);
    if (n > 0) line->assign(text, static_cast<size_t>(text[n - 1] == '\n' ? n - 1 : n));
    std::free(text);
    return n > 0;
  }
  // Reads stdout up to and including the first line containing `wanted`;
  // false when the output ends first.
  bool ReadUntil(const std::string &wanted) {
    for (std::string line; ReadLine(&line);)
      if (line.find(wanted) != std::string::npos) return true;
    return false;
  }
  pid_t Pid() const { return pid_; }
  void Signal(int signal) { kill(pid_, signal); }
  // Whether it has not ended yet (never blocks).
  bool Running() {
    int raw = 0;
    if (status_ >= 0 || waitpid(pid_, &raw, WNOHANG) == 0) return status_ < 0;
    Ended(raw);
    return false;
  }
  // The exit status once it has ended (-1 if it did not exit normally).
  int Wait() {
    int raw = 0;
    if (status_ < 0 && waitpid(pid_, &raw, 0) == pid_) Ended(raw);
    return status_ == 1000 ? -1 : status_;
  }
  // The signal that ended it, once Wait has returned -1; else 0.
  int EndedBySignal() const { return signal_; }

 private:
  pid_t pid_ = -1;
  std::FILE *out_ = nullptr;
  bool piped_ = true;
  int status_ = -1;
  int signal_ = 0;

  void Ended(int raw) {
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000;
    signal_ = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
  }
};
