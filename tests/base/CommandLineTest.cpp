#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/CommandLine.h"
#include "base/ParseNumber.h"

namespace {

// A small program's command line: a flag, a value and operands, parsed from
// a whole line as a user would type it (words split at blanks).
struct Parsed {
  cli::Outcome outcome;
  std::string error;
  bool csv = false;
  double reference = 440;
  std::vector<std::string> operands;
};

Parsed Parse(const std::vector<std::string> &words, bool operands = true) {
  Parsed p{};
  cli::CommandLine line;
  line.Flag("csv", [&] { p.csv = true; });
  line.Value("reference", "hertz between 1 and 20000", [&](const std::string &v) {
    const std::optional<double> hz = cli::ParseNumber(v, 1, 20000);
    if (hz) p.reference = *hz;
    return hz.has_value();
  });
  line.Checked("key", "a key A-G", [](const std::string &v, std::string *why) {
    if (v == "H") *why = "H is the German B; write B";
    return v.size() == 1 && v[0] >= 'A' && v[0] <= 'G';
  });
  if (operands) line.AcceptOperands();
  std::vector<const char *> argv{"prog"};
  for (const std::string &w : words) argv.push_back(w.c_str());
  p.outcome = line.Parse(static_cast<int>(argv.size()), argv.data());
  p.error = line.Error();
  p.operands = line.Operands();
  return p;
}

using W = std::vector<std::string>;

TEST(CommandLine, BothValueFormsOperandsAnywhereAndTheEndOfOptions) {
  for (const W &words : {W{"--reference", "442", "a.wav", "--csv", "-"}, W{"a.wav", "--csv", "--reference=442", "-"},
                         W{"--reference=440", "a.wav", "--reference", "442", "--csv", "--", "-"}}) {
    const Parsed p = Parse(words);
    EXPECT_EQ(p.outcome, cli::Outcome::kRun) << p.error;
    EXPECT_TRUE(p.csv);
    EXPECT_EQ(p.reference, 442);  // the last given wins
    EXPECT_EQ(p.operands, (W{"a.wav", "-"}));
  }
  const Parsed ended = Parse({"--csv", "--", "--reference=1", "-h", "--"});
  EXPECT_EQ(ended.outcome, cli::Outcome::kRun) << ended.error;
  EXPECT_EQ(ended.operands, (W{"--reference=1", "-h", "--"}));
  EXPECT_EQ(ended.reference, 440);
  // A value may look like an option; it is still the value.
  EXPECT_EQ(Parse({"--reference", "--csv"}).error,
            "invalid value '--csv' for --reference (expected hertz between 1 and 20000)");
}

TEST(CommandLine, UsageErrorsAreWordedAlike) {
  const struct {
    W words;
    std::string error;
  } cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--bogus=3", "--csv"}, "unknown option '--bogus'"},
      {{"--ref", "442"}, "unknown option '--ref'"},  // no abbreviations
      {{"--c"}, "unknown option '--c'"},
      {{"-x"}, "unknown option '-x'"},
      {{"-hx"}, ""},  // help comes first
      {{"--csv=yes"}, "option '--csv' takes no value"},
      {{"--help=me"}, "option '--help' takes no value"},
      {{"a.wav", "--reference"}, "option '--reference' needs a value"},
      {{"--reference="}, "invalid value '' for --reference (expected hertz between 1 and 20000)"},
      {{"--reference=0x10"}, "invalid value '0x10' for --reference (expected hertz between 1 and 20000)"},
      {{"--reference", "\x1b[31mred"},
       "invalid value '\\x1b[31mred' for --reference (expected hertz between 1 and 20000)"},
      {{"--csv", "--bogus", "--help"}, "unknown option '--bogus'"},  // what comes first counts
      {{"--key", "H"}, "invalid value 'H' for --key (H is the German B; write B)"},
      {{"--key=\x07"}, "invalid value '\\x07' for --key (expected a key A-G)"},
      // What the user typed is cut after 160 bytes, where a character starts.
      {{"--reference", std::string(159, '7') + "\u00e9" + std::string(100, '7')},
       "invalid value '" + std::string(159, '7') + "...' (261 bytes) for --reference (expected hertz between 1 and "
                                                  "20000)"},
      {{"--" + std::string(300, 'x')}, "unknown option '--" + std::string(158, 'x') + "...' (302 bytes)"},
  };
  for (const auto &c : cases) {
    const Parsed p = Parse(c.words);
    EXPECT_EQ(p.outcome, c.error.empty() ? cli::Outcome::kHelp : cli::Outcome::kUsageError) << c.error;
    EXPECT_EQ(p.error, c.error);
  }
  EXPECT_EQ(Parse({"--csv", "a.wav"}, false).error, "unexpected argument 'a.wav'");
  EXPECT_EQ(Parse({"--", "a.wav"}, false).error, "unexpected argument 'a.wav'");
  EXPECT_EQ(Parse({std::string(201, 'a')}, false).error,
            "unexpected argument '" + std::string(160, 'a') + "...' (201 bytes)");
  EXPECT_EQ(Parse({std::string(200, 'a')}, false).error, "unexpected argument '" + std::string(200, 'a') + "'");
}

TEST(CommandLine, HelpAndVersionWinOverWhateverFollows) {
  for (const W &words : {W{"--help"}, W{"-h"}, W{"--csv", "-h", "--bogus"}, W{"-hV"}, W{"--help", "--version"}})
    EXPECT_EQ(Parse(words, false).outcome, cli::Outcome::kHelp) << words.back();
  for (const W &words : {W{"--version"}, W{"-V"}, W{"-V", "--reference"}, W{"--version", "-h"}})
    EXPECT_EQ(Parse(words, false).outcome, cli::Outcome::kVersion) << words.back();
}

// POSIXLY_CORRECT would make getopt_long stop at the first operand; the
// grammar stays the same with it.
TEST(CommandLine, TheSameUnderPosixlyCorrect) {
  ASSERT_EQ(setenv("POSIXLY_CORRECT", "1", 1), 0);
  const Parsed p = Parse({"a.wav", "--csv"});
  unsetenv("POSIXLY_CORRECT");
  EXPECT_TRUE(p.csv);
  EXPECT_EQ(p.operands, W{"a.wav"});
}

TEST(ParseNumber, PlainDecimalsOnlyWithinTheirRange) {
  for (const char *good : {"440", "440.5", "+440", "0440", ".5", "5.", "-0", "20000", "1"})
    EXPECT_TRUE(cli::ParseNumber(good, -1, 20000).has_value()) << good;
  for (const char *bad : {"", " 440", "440 ", "0x10", "1e3", "inf", "nan", "-inf", "4,5", "4.4.4", ".", "-", "+-5",
                          "20000.01", "-1.5", "1 0", "440Hz"})
    EXPECT_FALSE(cli::ParseNumber(bad, -1, 20000).has_value()) << bad;
  EXPECT_EQ(cli::ParseNumber("442.25", 1, 20000), 442.25);
  EXPECT_EQ(cli::ParseNumber("-3.5", -10, 0), -3.5);
  const std::string huge = "1" + std::string(400, '0');  // finite in no double
  EXPECT_FALSE(cli::ParseNumber(huge, 0, 1e308).has_value());

  EXPECT_EQ(cli::ParseWholeNumber("16", 1, 16), 16);
  EXPECT_EQ(cli::ParseWholeNumber("-2", -5, 5), -2);
  EXPECT_EQ(cli::ParseWholeNumber("+3", 1, 6), 3);
  for (const char *bad : {"0", "17", "2.0", "2.", "1e1", "0x10", "", "+", "99999999999999999999999"})
    EXPECT_FALSE(cli::ParseWholeNumber(bad, 1, 16).has_value()) << bad;
}

}  // namespace
