#include "StandardOutput.h"

#include <stdio_ext.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

int firstReason = 0;  // errno of the first failed flush, if it told one

bool Flushed() {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (!flushed && firstReason == 0) firstReason = errno;
  return flushed;
}

}  // namespace

bool FlushStandardOutput() { return Flushed(); }

bool CloseStandardOutput(std::string *error) {
  const bool pending = __fpending(stdout) != 0;
  const bool flushed = Flushed();
  errno = 0;
  const bool closed = std::fclose(stdout) == 0;
  // A closed stdout that nothing was written to lost nothing.
  if (flushed && (closed || (!pending && errno == EBADF))) return true;
  if (firstReason == 0) firstReason = errno;
  *error = "write error";
  if (firstReason != 0) *error += std::string(": ") + std::strerror(firstReason);
  return false;
}
