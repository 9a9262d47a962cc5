#include "base/CommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <cstdio>

#include "base/Utf8.h"
#include "base/Version.h"

namespace cli {

namespace {

// getopt_long's codes for our options start above every character code.
constexpr int kFirstEntry = 256;
// '-': operands come back in order as code 1 (whatever POSIXLY_CORRECT says);
// ':': a missing value comes back as ':', told apart from an unknown option.
constexpr char kShortOptions[] = "-:hV";

bool IsLong(const char *element) { return element[0] == '-' && element[1] == '-'; }

// What the user typed, quoted; a text longer than a few lines (which no
// file's name is) keeps only its start, cut where a character starts, so a
// message stays readable.
std::string QuotedExcerpt(const std::string &text) {
  constexpr size_t kLongest = 200, kKept = 160;
  if (text.size() <= kLongest) return Quoted(text);
  size_t cut = kKept;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  const std::string quoted = Quoted(text.substr(0, cut));
  return quoted.substr(0, quoted.size() - 1) + "...' (" + std::to_string(text.size()) + " bytes)";
}

// "--name" of "--name=value".
std::string LongName(const char *element) {
  const std::string text = element;
  return text.substr(0, text.find('='));
}

}  // namespace

void CommandLine::Flag(std::string name, FlagAction set) {
  entries_.push_back({std::move(name), "", std::move(set), {}});
}

void CommandLine::Value(std::string name, std::string expected, ValueAction take) {
  Checked(std::move(name), std::move(expected),
          [take](const std::string &value, std::string *) { return take(value); });
}

void CommandLine::Checked(std::string name, std::string expected, CheckedAction take) {
  entries_.push_back({std::move(name), std::move(expected), {}, std::move(take)});
}

Outcome CommandLine::Fail(std::string message) {
  error_ = std::move(message);
  return Outcome::kUsageError;
}

Outcome CommandLine::Apply(const Entry &entry, const char *value) {
  if (entry.expected.empty()) {
    entry.set();
  } else if (std::string why = "expected " + entry.expected; !entry.take(value, &why)) {
    return Fail("invalid value " + QuotedExcerpt(value) + " for --" + entry.name + " (" + Printable(why) + ")");
  }
  return Outcome::kRun;
}

Outcome CommandLine::Operand(const char *text) {
  if (!acceptOperands_) return Fail("unexpected argument " + QuotedExcerpt(text));
  operands_.emplace_back(text);
  return Outcome::kRun;
}

std::vector<option> CommandLine::Table() const {
  std::vector<option> table{{"help", no_argument, nullptr, 'h'}, {"version", no_argument, nullptr, 'V'}};
  for (size_t i = 0; i < entries_.size(); ++i)
    table.push_back({entries_[i].name.c_str(), entries_[i].expected.empty() ? no_argument : required_argument, nullptr,
                     kFirstEntry + static_cast<int>(i)});
  table.push_back({});
  return table;
}

bool CommandLine::Known(const std::string &name) const {
  return name == "--help" || name == "--version" ||
         std::any_of(entries_.begin(), entries_.end(), [&](const Entry &e) { return name == "--" + e.name; });
}

std::string CommandLine::Refusal(int code, const char *element) const {
  const std::string name = IsLong(element) ? LongName(element) : std::string("-") + static_cast<char>(optopt);
  if (IsLong(element) && !Known(name)) return "unknown option " + QuotedExcerpt(name);  // abbreviations too
  if (code == ':') return "option " + Quoted(name) + " needs a value";
  if (code != '?') return "";
  return IsLong(element) ? "option " + Quoted(name) + " takes no value" : "unknown option " + Quoted(name);
}

Outcome CommandLine::Step(int code, const char *element) {
  const std::string refused = Refusal(code, element);
  if (!refused.empty()) return Fail(refused);
  switch (code) {
    case 'h': return Outcome::kHelp;
    case 'V': return Outcome::kVersion;
    case 1: return Operand(optarg);
    default: return Apply(entries_[code - kFirstEntry], optarg);
  }
}

Outcome CommandLine::Parse(int argc, const char *const *argv) {
  operands_.clear();
  error_.clear();
  const std::vector<option> table = Table();
  // In the order "-" asks for, getopt_long leaves argv as it is; the strings
  // are never written either.
  std::vector<char *> args;
  for (int i = 0; i < argc; ++i) args.push_back(const_cast<char *>(argv[i]));
  args.push_back(nullptr);
  optind = 0;  // a fresh scan
  opterr = 0;
  for (;;) {
    const int at = std::max(optind, 1);  // the element getopt_long reads now
    const int code = getopt_long(argc, args.data(), kShortOptions, table.data(), nullptr);
    if (code == -1) break;
    const Outcome outcome = Step(code, args[at]);
    if (outcome != Outcome::kRun) return outcome;
  }
  for (int i = optind; i < argc; ++i)  // after "--"
    if (Operand(args[i]) != Outcome::kRun) return Outcome::kUsageError;
  return Outcome::kRun;
}

std::string Printable(const std::string &text) {
  std::string out;
  drovane::ForEachUtf8Sequence(text, [&out](const drovane::Utf8Sequence &s, std::string_view bytes) {
    if (s.valid && !drovane::IsControl(s.code)) {
      out += bytes;
      return;
    }
    for (const unsigned char c : bytes) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    }
  });
  return out;
}

std::string Quoted(const std::string &text) {
  std::string quoted = "'";
  quoted += Printable(text);
  return quoted += '\'';
}

std::string VersionLine(const std::string &program) { return program + " " + drovane::kVersion + "\n"; }

int ReportUsageError(const std::string &program, const std::string &message) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(), message.c_str(),
               program.c_str());
  return 2;
}

}  // namespace cli
