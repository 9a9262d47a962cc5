#include "base/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace drovane {

std::string WhyNot(int error) {
  if (error == ENXIO) return "no program is reading from it (a FIFO)";
  return std::strerror(error);
}

// O_NONBLOCK makes opening a FIFO without a reader fail (ENXIO) instead of
// waiting for one; it makes no difference to a regular file.
int OpenForWriting(const std::string &path, std::string *why) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    *why = WhyNot(errno);
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::string WhyNotWritable(const std::string &path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
    if (S_ISFIFO(st.st_mode)) return "";
    return access(path.c_str(), W_OK) == 0 ? "" : std::strerror(errno);
  }
  if (errno != ENOENT) return std::strerror(errno);
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  return access(folder.c_str(), W_OK | X_OK) == 0 ? "" : std::strerror(errno);
}

bool WriteAll(int fd, const void *data, size_t size, size_t *written, std::string *why) {
  const char *bytes = static_cast<const char *>(data);
  *written = 0;
  while (*written < size) {
    const ssize_t n = write(fd, bytes + *written, size - *written);
    if (n > 0) {
      *written += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    *why = WhyNot(n < 0 ? errno : ENOSPC);  // nothing taken and no reason: no room
    return false;
  }
  return true;
}

void RemoveUnfinished(const std::string &path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(path.c_str());
}

}  // namespace drovane
