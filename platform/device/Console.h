#pragma once

#include <string>

namespace platform::device {

// The device's messages to the user on stderr, each under the program's
// name (the last part of argv[0]).
class Console {
 public:
  explicit Console(const char *argv0);

  const std::string &Program() const { return program_; }
  // "PROGRAM: MESSAGE", the message printed safely (cli::Printable).
  void Say(const std::string &message) const;
  // Says it and returns `status`; a usage error (2) also points to --help.
  int Fail(const std::string &message, int status = 1) const;

 private:
  std::string program_;
};

}  // namespace platform::device
