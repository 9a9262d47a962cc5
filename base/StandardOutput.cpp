#include "base/StandardOutput.h"

#include <fcntl.h>
#include <stdio_ext.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace drovane {

namespace {

int firstReason = 0;  // errno of the first failed flush, if it told one

}  // namespace

void ReserveStandardStreams() {
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open() takes the lowest free number, which is this one.
    const int reserved = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    if (reserved != fd && reserved >= 0) close(reserved);
  }
}

bool FlushStandardOutput() {
  // A write that failed before this (a text longer than the buffer goes out
  // at once) left its reason in errno.
  const int earlier = std::ferror(stdout) ? errno : 0;
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (!flushed && firstReason == 0) firstReason = errno != 0 ? errno : earlier;
  return flushed;
}

bool CloseStandardOutput(std::string *error) {
  const bool pending = __fpending(stdout) != 0;
  const bool flushed = FlushStandardOutput();
  errno = 0;
  const bool closed = std::fclose(stdout) == 0;
  // A closed stdout that nothing was written to lost nothing.
  if (flushed && (closed || (!pending && errno == EBADF))) return true;
  if (firstReason == 0) firstReason = errno;
  *error = "write error";
  if (firstReason != 0) *error += std::string(": ") + std::strerror(firstReason);
  return false;
}

}  // namespace drovane
