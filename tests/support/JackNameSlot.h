#pragma once

// The name of a test's JACK server, held by one test at a time.
//
// jackd2 registers every server of the machine in one table of eight
// (/dev/shm/jack-shm-registry) and takes a dead server's entry over only
// when a server of the same name starts: under names never used before,
// each server killed outright (a test of a crash, a test that was itself
// killed) kept its entry for good, and after eight no JACK server could
// start on the machine. So every test's server has the same name.
//
// One at a time, too, because jackd2 binds a client's notification socket
// in /dev/shm under the client's name alone (jack_NAME_UID_0), not under its
// server's: two tests' tuners, both drovane-capture on servers of their own,
// take each other's socket while they open, and one is refused. The lock is
// waited for (ctest's timeout still holds) and goes with the process that
// held it, however it ends.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

class JackNameSlot {
 public:
  JackNameSlot() {
    const int fd = open("/tmp/drovane-jack-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return;
    int locked;
    while ((locked = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
      close(fd);
      return;
    }
    lock_ = fd;
    name_ = "drovane-test";
  }
  ~JackNameSlot() {
    if (lock_ >= 0) close(lock_);
  }
  JackNameSlot(const JackNameSlot &) = delete;
  JackNameSlot &operator=(const JackNameSlot &) = delete;

  // "" when the lock could not be had.
  const std::string &Name() const { return name_; }

 private:
  int lock_ = -1;
  std::string name_;
};
