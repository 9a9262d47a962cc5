#pragma once

// The program's own command line. The device tells the program's options
// from its own and passes them to WinMain's lpCmdLine, as the phone's shell
// passes what follows a program's name; the program splits and parses it.
//
// A program built on the phone provides ProgramCommandLine() beside WinMain,
// so the device can list its options in --help, accept them, and refuse a
// bad one as a usage error before anything runs.
#include <span>
#include <string>
#include <vector>

#include "win/types.h"

namespace platform::device {

// One option of the program's.
struct ProgramOption {
  const char *name;   // without the leading "--"
  const char *value;  // the value's name in --help ("NAME"), or null for a flag
  const char *help;   // its --help text, lines of at most 50 columns joined by '\n'
};

struct ProgramOptions {
  const char *heading;  // what --help says above them
  std::span<const ProgramOption> options;
  // The program's own parser: false, with the usage error's message, when it
  // refuses `args` as WinMain would get them ("--name" and its value apart).
  bool (*check)(const std::vector<std::string> &args, std::string *error);
  // What --help says after them, whole lines, or null.
  const char *more = nullptr;
};

// The arguments as one command line: each apart by a space, one with a
// blank or a quote (or an empty one) in double quotes, by the rules the
// phone's shell and SplitCommandLine read back.
std::wstring JoinCommandLine(const std::vector<std::string> &args);
// A command line's arguments, UTF-8: blanks part them; a double quote starts
// or ends a quoted part; backslashes are themselves but before a quote,
// where 2n of them are n and a quoting quote, 2n + 1 are n and a quote.
std::vector<std::string> SplitCommandLine(LPCWSTR commandLine);

}  // namespace platform::device

// Provided by the program, as WinMain is.
const platform::device::ProgramOptions &ProgramCommandLine();
