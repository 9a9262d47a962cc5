#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "ToolRun.h"

namespace {

Outcome Analyze(const std::string &args) { return RunTool(DROVANE_ANALYZE, args); }

std::vector<short> Tone(double hertz, size_t count) {
  std::vector<short> v(count);
  for (size_t i = 0; i < count; ++i) v[i] = static_cast<short>(std::lround(9000 * std::sin(2 * M_PI * hertz * i / 22050)));
  return v;
}

TEST(AnalyzeCli, HelpVersionAndUsageErrors) {
  Outcome r = Analyze("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Usage: drovane-analyze"), std::string::npos);
  r = Analyze("--version");
  EXPECT_EQ(r.out, "drovane-analyze 1.0.0\n");
  for (const char *bad : {"", "--bogus x.wav", "--reference", "--reference abc --demo", "--reference 0 --demo",
                          "--reference=inf --demo"}) {
    r = Analyze(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << bad;
    EXPECT_TRUE(r.out.empty()) << bad;
  }
}

TEST(AnalyzeCli, CsvHasOneRowPerWholeBlockAfterTheFirstSixteen) {
  const std::string path = WriteSound("g3.wav", Tone(196, 30500), 22050, 1);  // 30 whole blocks and a half
  const Outcome r = Analyze("--csv " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 1u + 14u);
  EXPECT_EQ(lines[0], "file,time_s,level,note,frequency_hz,name,cents");
  EXPECT_EQ(lines[1].substr(0, path.size() + 11), path + ",0.7256236,");  // block 17 starts at byte 32000
  EXPECT_NE(lines[1].find(",G-1,"), std::string::npos) << lines[1];
  double t, note, hz, cents;
  int level;
  char name[8];
  const char *fields = lines.back().c_str() + path.size() + 1;
  ASSERT_EQ(std::sscanf(fields, "%lf,%d,%lf,%lf,%7[^,],%lf", &t, &level, &note, &hz, name, &cents), 6);
  EXPECT_NEAR(note, 55.0, 0.05);
  EXPECT_NEAR(hz, 196, 0.5);
  EXPECT_NEAR(cents, (note - 55) * 100, 0.006);
}

TEST(AnalyzeCli, ReferenceAndJsonAndCalibration) {
  const std::string path = WriteSound("a2.wav", Tone(110 * std::pow(2.0, 0.2 / 12), 22050 * 4), 22050, 1);
  Outcome r = Analyze("--json --reference 442 " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 88u - 16u);
  EXPECT_EQ(lines[0].rfind("{\"file\":\"" + path + "\",\"time_s\":0.7256236,\"level\":", 0), 0u) << lines[0];
  double note = 0;
  ASSERT_EQ(std::sscanf(lines[5].c_str() + lines[5].find("\"note\":") + 7, "%lf", &note), 1);
  EXPECT_NEAR(note, 45.2 + 12 * std::log2(440.0 / 442), 0.05);

  r = Analyze("--calibrate " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const size_t at = r.out.find("new reference A = ");
  ASSERT_NE(at, std::string::npos) << r.out;
  EXPECT_NEAR(std::atof(r.out.c_str() + at + 18), 440 * std::pow(2.0, 0.2 / 12), 0.3);  // about a cent

  const std::string noise = WriteSound("hiss.wav", std::vector<short>(40000, 0), 22050, 1);
  r = Analyze("--calibrate " + noise);
  EXPECT_NE(r.out.find("no stable note was found"), std::string::npos) << r.out;
}

// --precise reaches the measurer: calibrating to a 447.69 Hz tone sets A
// within 0.05 Hz, where the phone's refinement sets it a hertz sharp.
TEST(AnalyzeCli, PreciseCalibratesWithinAFractionOfACent) {
  EXPECT_NE(Analyze("--help").out.find("departs from the phone's estimator"), std::string::npos);
  const std::string path = WriteSound("a447.wav", Tone(447.69, 22050 * 3), 22050, 1);
  const Outcome r = Analyze("--precise --calibrate " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const size_t at = r.out.find("new reference A = ");
  ASSERT_NE(at, std::string::npos) << r.out;
  EXPECT_NEAR(std::atof(r.out.c_str() + at + 18), 447.69, 0.05);
}

TEST(AnalyzeCli, FailuresNameTheFileAndGoOnWithTheRest) {
  const std::string good = WriteSound("good.wav", Tone(330, 20000), 22050, 1);
  const std::string shortFile = WriteSound("one-sample.wav", {1234}, 22050, 1);
  const std::string missing = OutputPath("missing.wav");
  const Outcome r = Analyze("--csv " + missing + " " + shortFile + " " + good);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(missing + ": No such file"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(shortFile + ": no result was produced"), std::string::npos) << r.err;
  EXPECT_EQ(Lines(r.out).size(), 1u + 4u);  // the header, four results from the good file
}

TEST(AnalyzeCli, DemoNamesEveryStringItPlays) {
  const Outcome r = Analyze("--csv --demo");
  ASSERT_EQ(r.status, 0) << r.err;
  int named = 0;
  for (const char *n : {",E-2,", ",A-2,", ",D-1,", ",G-1,", ",B-1,", ",E1,"})
    named += r.out.find(n) != std::string::npos;
  EXPECT_EQ(named, 6);
}

// A WAV header and `seconds` of a quiet hum, at any rate the header claims.
std::string WriteAtRate(const std::string &name, uint32_t rate) {
  const std::string path = OutputPath(name);
  std::vector<short> hum(44100);
  for (size_t i = 0; i < hum.size(); ++i) hum[i] = static_cast<short>(i % 100 * 40);
  const uint32_t bytes = static_cast<uint32_t>(2 * hum.size());
  const uint32_t fields[] = {0x46464952, 36 + bytes, 0x45564157, 0x20746d66, 16, 1 | 1u << 16, rate, 2 * rate,
                             2 | 16u << 16, 0x61746164, bytes};  // RIFF…WAVEfmt …data, little-endian
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char *>(fields), sizeof fields);
  f.write(reinterpret_cast<const char *>(hum.data()), bytes);
  return path;
}

// A float recording at 44.1 kHz of an A2 (110 Hz) with a NaN or an infinity
// every 997 samples: 133 of them in its three seconds.
std::string WriteNotNumbers() {
  std::vector<float> v(3 * 44100);
  const float odd[] = {NAN, INFINITY, -INFINITY};
  for (size_t i = 0; i < v.size(); ++i)
    v[i] = i % 997 ? static_cast<float>(0.4 * std::sin(2 * M_PI * 110 * i / 44100)) : odd[i / 997 % 3];
  return WriteSound("not-numbers.wav", v, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
}

// What a user, a script and a careful tester may do. Each case gives the
// exit status, the text every CSV row must hold (with their number; none:
// nothing on stdout) and what stderr must say (or that it says nothing).
TEST(AnalyzeCli, WritesInputsAndOddFilesAreHandledAsMeant) {
  const std::string a = DROVANE_ANALYZE, wav = WriteSound("a2-two-seconds.wav", Tone(110, 44100), 22050, 1);
  const std::string fifo = OutputPath("analyze.fifo"), full = OutputPath("analyze-full.csv");
  const struct {
    const char *what;
    std::string script;
    int status;
    std::string row;
    size_t rows;
    std::string err;
  } cases[] = {
      {"/dev/full", a + " --csv " + wav + " >/dev/full", 1, "", 0, "write error: No space left on device"},
      {"closed stdout", a + " --csv " + wav + " >&-", 1, "", 0, "write error: Bad file descriptor"},
      {"a disk that fills", "(trap '' XFSZ; ulimit -f 2; exec " + a + " --csv " + wav + " " + wav + " " + wav +
                                " >" + full + ")",
       1, "", 0, "write error: File too large"},
      {"NaN and infinities", a + " --csv " + WriteNotNumbers(), 0, ",A-2,", 66 - 16,
       "not-numbers.wav: 133 samples were not numbers (NaN or infinite) and were heard as silence"},
      {"a FIFO", "rm -f " + fifo + "; mkfifo " + fifo + "; cat " + wav + " >" + fifo + " & " + a + " --csv " + fifo,
       0, ",A-2,", 28, ""},
      {"/dev/stdin on a pipe", "cat " + wav + " | " + a + " --csv /dev/stdin", 0, ",A-2,", 28, ""},
      {"process substitution", a + " --csv <(cat " + wav + ")", 0, ",A-2,", 28, ""},
      {"- for standard input", a + " --csv - <" + wav, 0, "-,", 28, ""},
      {"FLAC on a pipe", "cat " + WriteSound("a2.flac", Tone(110, 44100), 22050, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16) +
                             " | " + a + " -",
       1, "", 0, "FLAC among them, can be read from a file but not from a pipe"},
      {"/dev/zero", a + " /dev/zero", 1, "", 0, "/dev/zero: not a sound file libsndfile can read"},
      {"7 Hz", a + " " + WriteAtRate("rate-7.wav", 7), 1, "", 0, "sample rate 7 Hz is not supported (at least 4000 Hz)"},
      {"1 Hz", a + " " + WriteAtRate("rate-1.wav", 1), 1, "", 0, "sample rate 1 Hz is not supported"},
      {"0 Hz", a + " " + WriteAtRate("rate-0.wav", 0), 1, "", 0, "invalid sample rate"},
      {"2 GHz", a + " " + WriteAtRate("rate-2e9.wav", 2000000000), 1, "", 0, "(at most 768000 Hz)"},
      {"calibration to a full stderr", a + " --csv --calibrate " + wav + " 2>/dev/full", 1, ",A-2,", 28, ""},
      {"--csv --json", a + " --csv --json " + wav, 2, "", 0, "--csv and --json cannot be combined"},
  };
  for (const auto &c : cases) {
    const Outcome r = RunScript(c.script);
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
    EXPECT_EQ(c.err.empty(), r.err.empty()) << c.what << ": " << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.what << ": " << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    EXPECT_EQ(lines.size(), c.rows ? c.rows + 1 : 0) << c.what;
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_NE(lines[i].find(c.row), std::string::npos) << c.what << ": " << lines[i];
  }
}

// Several inputs make one CSV table and one stream of JSON objects, each
// result naming its input; people read both names of a note.
TEST(AnalyzeCli, ResultsNameTheirInputAndPeopleReadBothNoteNames) {
  const std::string a2 = WriteSound("a2, quoted \"name\".wav", Tone(110, 20000), 22050, 1);
  const std::string e4 = WriteSound("e4.wav", Tone(329.63, 20000), 22050, 1);
  Outcome r = Analyze("--csv '" + a2 + "' " + e4);
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 1u + 4u + 4u);
  EXPECT_EQ(lines[0], "file,time_s,level,note,frequency_hz,name,cents");
  const std::string csvField = std::string("\"").append(OutputPath("a2, quoted \"\"name\"\".wav")) + "\"";
  EXPECT_EQ(lines[1].rfind(csvField + ",0.7256236,", 0), 0u) << lines[1];
  EXPECT_EQ(lines[5].rfind(e4 + ",0.7256236,", 0), 0u) << lines[5];
  EXPECT_NE(lines[5].find(",E1,"), std::string::npos) << lines[5];

  r = Analyze("--json --calibrate '" + a2 + "' " + e4);
  ASSERT_EQ(r.status, 0) << r.err;
  lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 4u + 1u + 4u + 1u);
  const std::string quoted = std::string("{\"file\":\"").append(OutputPath("a2, quoted \\\"name\\\".wav")) + "\",";
  EXPECT_EQ(lines[0].rfind(quoted + "\"time_s\":", 0), 0u) << lines[0];
  EXPECT_EQ(lines[4].rfind(quoted + "\"calibration\":", 0), 0u) << lines[4];
  EXPECT_EQ(lines[5].rfind("{\"file\":\"" + e4 + "\",\"time_s\":", 0), 0u) << lines[5];

  r = Analyze(e4);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(" E1 (E4) "), std::string::npos) << r.out;
  r = Analyze("--help");
  for (const char *said : {"E-2", "C1", "A1", "E2", "C4", "A4", "no\noctave 0", "- is standard input"})
    EXPECT_NE(r.out.find(said), std::string::npos) << said;
}

// A name as odd as a file system allows: an escape sequence, the C1 CSI, a
// comma, a quote, a backslash, a tab, a line break, DEL, bytes that are not
// UTF-8 (stray, cut short, overlong, a surrogate, past U+10FFFF) and
// well-formed characters of two, three and four bytes.
const std::string kOddName = "odd \x1b[2J\xc2\x9b" "1m, \"q\" \\ \t\n\x7f\xff\xfe\xe2\x82(\xc0\xaf\xed\xa0\x80"
                             "\xf4\x90\x80\x80 \xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb8.wav";
// As messages, the table and CSV print it.
const std::string kOddShown = "odd \\x1b[2J\\xc2\\x9b" "1m, \"q\" \\ \\x09\\x0a\\x7f\\xff\\xfe\\xe2\\x82(\\xc0\\xaf"
                              "\\xed\\xa0\\x80\\xf4\\x90\\x80\\x80 \xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb8.wav";

// Every line of a JSON output is read by Python's own parser (no NaN or
// Infinity either), each object has its fields in order and of their
// types, and each file is named as Python's decoder reads the input's name
// (U+FFFD where it is not UTF-8). Prints "RESULTS CALIBRATIONS FILES".
constexpr char kJsonCheck[] = R"(
import json, os, sys
names = {os.fsencode(n).decode("utf-8", "replace") for n in sys.argv[2:]}
def refuse(constant): raise ValueError(constant)
number, text = (int, float), (str, type(None))
results = calibrations = 0
seen = set()
for line in open(sys.argv[1], "rb"):
    o = json.loads(line.decode("utf-8"), parse_constant=refuse)
    assert o["file"] in names, ascii(o["file"])
    seen.add(o["file"])
    if "calibration" in o:
        assert list(o) == ["file", "calibration"], list(o)
        calibrations += 1
        continue
    assert list(o) == ["file", "time_s", "level", "note", "frequency_hz", "name", "cents"], list(o)
    assert all(type(o[k]) in number for k in ("time_s", "level", "note", "frequency_hz")), o
    assert type(o["name"]) in text and type(o["cents"]) in number + (type(None),), o
    results += 1
print(results, calibrations, len(seen))
)";

TEST(AnalyzeCli, OddFileNamesAreValidJsonAndCannotActOnATerminal) {
  const std::string odd = WriteSound(kOddName, Tone(110, 22050 * 4), 22050, 1);
  const std::string plain = WriteSound("plain.wav", Tone(110, 20000), 22050, 1);
  ASSERT_FALSE(odd.empty());
  const std::string a = std::string(DROVANE_ANALYZE) + " ", json = OutputPath("odd.json");

  Outcome r = RunTool(DROVANE_ANALYZE, "--calibrate " + ShellWord(odd));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out).front(), OutputPath(kOddShown) + " (reference A = 440.00 Hz)");
  EXPECT_EQ(Lines(r.out).back().rfind(OutputPath(kOddShown) + ": calibration: first stable note", 0), 0u);

  // RFC 4180 quoting, and one line a row.
  r = RunTool(DROVANE_ANALYZE, "--csv --calibrate " + ShellWord(odd));
  ASSERT_EQ(r.status, 0) << r.err;
  std::string field = OutputPath(kOddShown);
  field.replace(field.find("\"q\""), 3, "\"\"q\"\"");
  field.insert(0, 1, '"').push_back('"');
  const std::vector<std::string> rows = Lines(r.out);
  ASSERT_EQ(rows.size(), 1u + 72u);
  for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].rfind(field + ",", 0), 0u) << rows[i];
  EXPECT_EQ(r.err.rfind(OutputPath(kOddShown) + ": calibration: ", 0), 0u) << r.err;

  r = RunTool(DROVANE_ANALYZE, ShellWord(odd + ".missing"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "drovane-analyze: " + OutputPath(kOddShown) + ".missing: No such file or directory\n");

  r = RunScript(a + "--json --calibrate " + ShellWord(odd) + " " + plain + " >" + json);
  ASSERT_EQ(r.status, 0) << r.err;
  if (RunScript("command -v python3").status != 0) GTEST_SKIP() << "python3 is not installed";
  std::ofstream(OutputPath("check.py")) << kJsonCheck;
  r = RunScript("python3 " + OutputPath("check.py") + " " + json + " " + ShellWord(odd) + " " + plain);
  EXPECT_EQ(r.out, "76 2 2\n") << r.err;  // 72 and 4 results, a calibration each
}

// An hour of audio streams through in bounded memory and yields every result.
TEST(AnalyzeCli, AnHourLongFile) {
  const size_t samples = 3600u * 22050u;
  std::vector<short> hour(samples);
  for (size_t i = 0; i < samples; ++i) hour[i] = static_cast<short>((i * 7919) % 2000 - 1000 + ((i / 22050) % 2) * ((i % 100) * 100));
  const std::string path = WriteSound("hour.wav", hour, 22050, 1);
  hour = {};
  const std::string out = OutputPath("hour.out");
  const int raw = std::system((std::string(DROVANE_ANALYZE) + " --csv " + path + " >" + out).c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  size_t lines = 0;
  std::ifstream f(out);
  for (std::string line; std::getline(f, line);) ++lines;
  EXPECT_EQ(lines, 1 + samples / 1000 - 16);
  std::remove(path.c_str());
  std::remove(out.c_str());
}

}  // namespace
