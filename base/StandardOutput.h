#pragma once

#include <string>

// Checks that what a program writes to stdout arrives: stdio drops a buffer
// it failed to write, and only the failing call sees why, so the reason is
// kept from the first flush that failed. Main thread only.

namespace drovane {

// Call first: a standard stream the program was started without (stdin, stdout
// or stderr closed) gets /dev/null opened the wrong way round in its place,
// so no file or descriptor the program opens later takes its number and
// receives its text, and writing to a closed stdout still fails.
void ReserveStandardStreams();

// Flushes stdout; false once anything written to it has been lost.
bool FlushStandardOutput();

// Flushes and closes stdout, the last thing a program does before it exits.
// False, with the reason in `error`, if any output was lost (a full disk,
// /dev/full, a closed stdout).
bool CloseStandardOutput(std::string *error);

}  // namespace drovane
