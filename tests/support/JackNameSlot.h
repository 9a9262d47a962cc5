#pragma once

// A name for a test's JACK server, from a few kept for the tests.
//
// jackd2 registers every server of the machine in one table of eight
// (/dev/shm/jack-shm-registry) and takes a dead server's entry over only
// when a server of the same name starts. Under names never used before,
// each server killed outright (a test of a crash, a test that was itself
// killed, a server that did not answer in time) kept its entry for good;
// after eight, no JACK server could start on the machine, the user's own
// among them ("Too many servers already active"). A slot is held by a lock
// for as long as its server lives, so two tests never share a name.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

class JackNameSlot {
 public:
  static constexpr int kSlots = 4;  // ctest runs two tests at a time

  JackNameSlot() {
    for (int slot = 0; slot < kSlots && lock_ < 0; ++slot) {
      const std::string path = "/tmp/drovane-jack-slot-" + std::to_string(slot) + ".lock";
      const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
      if (fd < 0) continue;
      if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lock_ = fd;
        name_ = "drovane-test-" + std::to_string(slot);
      } else {
        close(fd);
      }
    }
  }
  ~JackNameSlot() {
    if (lock_ >= 0) close(lock_);
  }
  JackNameSlot(const JackNameSlot &) = delete;
  JackNameSlot &operator=(const JackNameSlot &) = delete;

  // "" when every slot is taken.
  const std::string &Name() const { return name_; }

 private:
  int lock_ = -1;
  std::string name_;
};
