#pragma once

#include <functional>
#include <string>
#include <vector>

struct option;  // getopt_long's, from <getopt.h>

// The one option grammar of every Drovane program (the device's main(), the
// tuner's own options and the tools), on glibc's getopt_long:
// - long options by their whole name, `--name value` or `--name=value`; an
//   abbreviation is an unknown option, so adding an option never changes
//   what a working command line means;
// - -h/--help and -V/--version everywhere; the first of them wins and ends
//   the parsing, whatever follows it;
// - options and operands in any order, read in order (the last of a repeated
//   option wins); `--` ends the options; `-` is an operand;
// - usage errors worded alike, ready for ReportUsageError:
//     unknown option '--x'             option '--x' needs a value
//     option '--x' takes no value      unexpected argument 'x'
//     invalid value 'v' for --x (expected ...)
// Messages quote what the user typed with Printable, a value or argument
// longer than a line cut short.
// getopt_long keeps global state: parse on one thread at a time.
namespace cli {

enum class Outcome { kRun, kHelp, kVersion, kUsageError };

class CommandLine {
 public:
  // Called each time the flag is given.
  using FlagAction = std::function<void()>;
  // Takes a value; false when it is not what the option expects.
  using ValueAction = std::function<bool(const std::string &value)>;
  // The same, saying why a value is refused: `why` holds "expected ..." and
  // may be replaced by a closer reason.
  using CheckedAction = std::function<bool(const std::string &value, std::string *why)>;

  // `--name` (without the dashes here).
  void Flag(std::string name, FlagAction set);
  // `--name VALUE`; `expected` ends the message for a value `take` refuses.
  void Value(std::string name, std::string expected, ValueAction take);
  // `--name VALUE` whose refusal says why, "invalid value 'v' for --x (why)".
  void Checked(std::string name, std::string expected, CheckedAction take);
  // Collects operands (anything not an option); otherwise they are usage
  // errors.
  void AcceptOperands() { acceptOperands_ = true; }

  // Reads argv[1..argc), calling the actions in order. kUsageError stops at
  // the first error, with its message in Error().
  Outcome Parse(int argc, const char *const *argv);

  const std::vector<std::string> &Operands() const { return operands_; }
  const std::string &Error() const { return error_; }

 private:
  struct Entry {
    std::string name;
    std::string expected;  // empty for a flag
    FlagAction set;
    CheckedAction take;
  };

  std::vector<::option> Table() const;
  bool Known(const std::string &name) const;
  // What getopt_long refused in `element`, worded for the user; empty when
  // it took it.
  std::string Refusal(int code, const char *element) const;
  Outcome Step(int code, const char *element);
  Outcome Fail(std::string message);
  Outcome Apply(const Entry &entry, const char *value);
  Outcome Operand(const char *text);

  std::vector<Entry> entries_;
  bool acceptOperands_ = false;
  std::vector<std::string> operands_;
  std::string error_;
};

// `text` safe to print: control characters (C0, DEL, C1) and bytes that are
// not UTF-8 written as \xNN, one per byte; the rest as it is.
std::string Printable(const std::string &text);

// Printable(text) in single quotes, for a message.
std::string Quoted(const std::string &text);

// "PROGRAM VERSION\n", the answer to --version.
std::string VersionLine(const std::string &program);

// "PROGRAM: MESSAGE" and "Try 'PROGRAM --help' for more information." on
// stderr; returns 2, the exit status of a usage error.
int ReportUsageError(const std::string &program, const std::string &message);

}  // namespace cli
