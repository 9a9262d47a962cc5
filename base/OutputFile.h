#pragma once

#include <cstddef>
#include <string>

// Files a program writes because the user named them: opened without ever
// waiting on a FIFO that nobody reads, and every failure told with the
// system's reason. Any thread; each descriptor on one thread at a time.
namespace drovane {

// Why a file could not be written, in words for a message: the system's
// reason (strerror), or for a FIFO without a reader, a plain one.
std::string WhyNot(int error);

// `path` opened for writing (created, or emptied if it is a regular file),
// its writes blocking as usual from then on; -1 with the reason in `why`.
// A FIFO nobody has open for reading is refused at once.
int OpenForWriting(const std::string &path, std::string *why);

// "" when `path` can be written now (created, or replaced), else why not;
// it only looks, creating nothing. A FIFO passes: whether anyone reads it
// is known only when it is opened.
std::string WhyNotWritable(const std::string &path);

// Writes all `size` bytes; false with the reason in `why` when the system
// took only part of them (a full disk, a size limit), `written` then telling
// how many it took.
bool WriteAll(int fd, const void *data, size_t size, size_t *written, std::string *why);

// Removes `path` if it is a regular file: what a failed write leaves of a
// format that cannot be kept cut short (a device or a FIFO is not ours).
void RemoveUnfinished(const std::string &path);

}  // namespace drovane
