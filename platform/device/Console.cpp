#include "device/Console.h"

#include <cstdio>

#include "base/CommandLine.h"

namespace platform::device {

Console::Console(const char *argv0) : program_(argv0 ? argv0 : "drovane") {
  program_ = program_.substr(program_.find_last_of('/') + 1);
}

// A message may hold names the user gave (files are only bytes): printed safely.
void Console::Say(const std::string &message) const {
  std::fprintf(stderr, "%s: %s\n", program_.c_str(), cli::Printable(message).c_str());
}

int Console::Fail(const std::string &message, int status) const {
  if (status == 2) return cli::ReportUsageError(program_, message);
  Say(message);
  return status;
}

}  // namespace platform::device
