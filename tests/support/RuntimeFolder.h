#pragma once

// A private folder for a test's sound server and its clients: their
// XDG_RUNTIME_DIR and HOME, sockets, configuration and logs. Made fresh
// (mode 0700) and removed with all it holds when the test ends.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"

class RuntimeFolder {
 public:
  explicit RuntimeFolder(const std::string &kind) {
    std::string pattern = "/tmp/drovane-" + kind + "-XXXXXX";
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~RuntimeFolder() {
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }
  RuntimeFolder(const RuntimeFolder &) = delete;
  RuntimeFolder &operator=(const RuntimeFolder &) = delete;

  bool Ok() const { return !path_.empty(); }
  const std::string &Path() const { return path_; }
  std::string operator/(const std::string &name) const { return path_ + "/" + name; }

  // Runs the client /usr/bin/NAME with `args` and `env` ("NAME=value"); its
  // status (-1 when it could not start), its output lines in `out`, its
  // stderr in NAME.err here.
  int Run(const std::string &name, const std::vector<std::string> &args, const std::vector<std::string> &env,
          std::vector<std::string> *out = nullptr) const {
    ChildProcess child("/usr/bin/" + name, args, env, *this / (name + ".err"));
    std::string line;
    while (child.Started() && child.ReadLine(&line)) {
      if (out) out->push_back(line);
    }
    return child.Started() ? child.Wait() : -1;
  }

 private:
  std::string path_;
};

// Sets "NAME=value" settings in this process, for code under test that
// reaches a server from here.
inline void UseEnvironment(const std::vector<std::string> &env) {
  for (const std::string &e : env) {
    const size_t eq = e.find('=');
    setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
  }
}
