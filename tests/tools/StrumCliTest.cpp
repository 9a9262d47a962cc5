// drovane-analyze --strum run as a user runs it, on synthetic strums whose
// truth is known: each strum found, one row per string in every format,
// a muted string never invented.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SyntheticStrum.h"
#include "Take.h"
#include "ToolRun.h"

namespace {

constexpr char kHeader[] = "file,time_s,string,target,heard,frequency_hz,name,cents,confidence";

struct Row {
  std::string file, time, string, target, heard, frequency, name, cents, confidence;
};

std::vector<std::string> Split(const std::string &line) {
  std::vector<std::string> fields;
  std::stringstream s(line);
  for (std::string field; std::getline(s, field, ',');) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

std::vector<Row> CsvRows(const std::string &out) {
  std::vector<Row> rows;
  const std::vector<std::string> lines = Lines(out);
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Split(lines[i]);
    EXPECT_EQ(f.size(), 9u) << lines[i];
    if (f.size() == 9) rows.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
  }
  return rows;
}

double Hertz(int note, double cents = 0) { return 440.0 * std::pow(2.0, (note + cents / 100 - 69) / 12); }

// Two strums 2.5 s apart: the first near in tune; in the second the A
// string is 18 cents flat, the B string 25 cents sharp, one string muted.
synthetic::Recording TwoStrums(const std::array<int, 6> &targets) {
  synthetic::StrumSettings near, off;
  near.targets = off.targets = targets;
  near.cents = {{-2, 1, 0, 2, -1, 1}};
  off.cents = {{0, -18, 0, 0, 25, 0}};
  off.muted = 1;
  return synthetic::MakeRecording({{0.5, 7, near}, {3.0, 11, off}}, 5.0);
}

// Each strum's six rows against its truth.
void ExpectStrums(const std::vector<Row> &rows, const synthetic::Recording &truth, const std::array<int, 6> &targets,
                  const std::vector<std::string> &names) {
  ASSERT_EQ(rows.size(), 6 * truth.strums.size());
  for (size_t k = 0; k < truth.strums.size(); ++k) {
    int heard = 0;
    for (int i = 0; i < 6; ++i) {
      const Row &r = rows[6 * k + i];
      const synthetic::StringTruth &t = truth.strums[k].strings[i];
      const std::string where = "strum " + std::to_string(k + 1) + " string " + r.string;
      EXPECT_EQ(r.time, rows[6 * k].time) << where;
      EXPECT_NEAR(std::atof(r.time.c_str()), truth.strums[k].onset / 22050.0, 0.03) << where;
      EXPECT_EQ(r.string, std::to_string(i + 1));
      EXPECT_EQ(r.target, names[i]) << where;
      // Every row's last column: a confidence of two decimals, 0.5 or more
      // where a number is given.
      const double confidence = std::atof(r.confidence.c_str());
      EXPECT_EQ(r.confidence.size(), 4u) << where;
      EXPECT_TRUE(confidence >= 0 && confidence <= 1) << where;
      EXPECT_EQ(confidence >= 0.5, r.heard == "1") << where << ": " << r.confidence;
      if (r.heard == "0" || t.muted) {
        EXPECT_EQ(r.heard, "0") << where << ": a muted string is never heard";
        EXPECT_EQ(r.frequency, "0.000") << where;
        EXPECT_TRUE(r.name.empty() && r.cents.empty()) << where;
        continue;
      }
      ++heard;
      EXPECT_EQ(r.heard, "1") << where;
      EXPECT_EQ(r.name, names[i]) << where;
      const double cents = std::atof(r.cents.c_str());
      EXPECT_NEAR(cents, t.cents, 2.0) << where;
      EXPECT_NEAR(std::atof(r.frequency.c_str()), Hertz(targets[i], cents), 0.01) << where << ": hertz and cents agree";
    }
    EXPECT_GE(heard, 4) << "strum " << k + 1;
  }
}

// JSON lines hold exactly the CSV rows, with true/false and null.
constexpr char kJsonAgainstCsv[] = R"(
import csv, json, sys
def refuse(constant): raise ValueError(constant)
rows = list(csv.reader(open(sys.argv[2])))[1:]
objects = [json.loads(line, parse_constant=refuse) for line in open(sys.argv[1])]
assert len(objects) == len(rows), (len(objects), len(rows))
for o, r in zip(objects, rows):
    assert list(o) == ["file", "time_s", "string", "target", "heard", "frequency_hz", "name", "cents",
                       "confidence"], list(o)
    assert type(o["heard"]) is bool and type(o["string"]) is int, o
    seen = [o["file"], "%.7f" % o["time_s"], str(o["string"]), o["target"], "1" if o["heard"] else "0",
            "%.3f" % o["frequency_hz"], o["name"] or "", "" if o["cents"] is None else "%.2f" % o["cents"],
            "%.2f" % o["confidence"]]
    assert seen == r, (seen, r)
print(len(objects), "rows agree")
)";

TEST(StrumCli, EveryStrumIsOneRowPerStringInEachFormatAndAMutedStringIsNotHeard) {
  const std::array<int, 6> standard{40, 45, 50, 55, 59, 64};
  const synthetic::Recording truth = TwoStrums(standard);
  const std::string path = WriteSound("two-strums.wav", truth.samples, 22050, 1);
  const std::string a = std::string(DROVANE_ANALYZE) + " ";

  Outcome r = RunTool(DROVANE_ANALYZE, "--strum --csv " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(Lines(r.out).front(), kHeader);
  const std::vector<Row> rows = CsvRows(r.out);
  ExpectStrums(rows, truth, standard, {"E-2", "A-2", "D-1", "G-1", "B-1", "E1"});
  for (const Row &row : rows) EXPECT_EQ(row.file, path);
  EXPECT_EQ(rows[7].heard, "1") << "the flat A string of the second strum";
  EXPECT_EQ(rows[7].cents.substr(0, 3), "-18");

  // The same from standard input, named "-".
  const std::string csv = OutputPath("two-strums.csv");
  std::ofstream(csv) << r.out;
  Outcome piped = RunScript("cat " + path + " | " + a + "--strum --csv -");
  ASSERT_EQ(piped.status, 0) << piped.err;
  const std::vector<std::string> fromFile = Lines(r.out), fromPipe = Lines(piped.out);
  ASSERT_EQ(fromPipe.size(), fromFile.size());
  for (size_t i = 1; i < fromFile.size(); ++i) {
    EXPECT_EQ(fromPipe[i].substr(0, 2), "-,");
    EXPECT_EQ(fromPipe[i].substr(1), fromFile[i].substr(path.size()));
  }

  // The table: a heading with the tuning, both names, "no" and "-" for the
  // muted string, a blank line between strums.
  r = RunTool(DROVANE_ANALYZE, "--strum " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> table = Lines(r.out);
  ASSERT_EQ(table.size(), 2u + 6 + 1 + 6) << r.out;
  EXPECT_EQ(table[0], path + " (reference A = 440.00 Hz, tuning E2 A2 D3 G3 B3 E4)");
  EXPECT_NE(table[2].find("E-2 (E2)"), std::string::npos) << table[2];
  EXPECT_EQ(table[8], "");
  for (int i = 0; i < 6; ++i) {
    if (!truth.strums[1].strings[i].muted) continue;
    std::istringstream row(table[9 + i]);
    std::string time, string, target, both, heard, hertz;
    row >> time >> string >> target >> both >> heard >> hertz;
    EXPECT_EQ(heard, "no") << table[9 + i];
    EXPECT_EQ(hertz, "-") << table[9 + i];
  }

  // JSON: one valid object a row, the CSV's values.
  const std::string json = OutputPath("two-strums.json");
  r = RunScript(a + "--strum --json " + path + " >" + json);
  ASSERT_EQ(r.status, 0) << r.err;
  if (RunScript("command -v python3").status != 0) GTEST_SKIP() << "python3 is not installed";
  std::ofstream(OutputPath("strum-json.py")) << kJsonAgainstCsv;
  r = RunScript("python3 " + OutputPath("strum-json.py") + " " + json + " " + csv);
  EXPECT_EQ(r.out, "12 rows agree\n") << r.err;
}

TEST(StrumCli, ATuningNamesTheTargetsAndSoundWithoutStrumsFindsNone) {
  const std::array<int, 6> dropD{38, 45, 50, 55, 59, 64};
  const synthetic::Recording truth = TwoStrums(dropD);
  const std::string path = WriteSound("drop-d-strums.wav", truth.samples, 22050, 1);
  Outcome r = RunTool(DROVANE_ANALYZE, "--csv --tuning drop-d --strum " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectStrums(CsvRows(r.out), truth, dropD, {"D-2", "A-2", "D-1", "G-1", "B-1", "E1"});
  EXPECT_EQ(RunTool(DROVANE_ANALYZE, "--csv --tuning 38,45,50,55,59,64 --strum " + path).out, r.out);
  EXPECT_EQ(RunTool(DROVANE_ANALYZE, "--csv --tuning 'D2 A2 D3 G3 B3 E4' --strum " + path).out, r.out);

  // A sweetened B and a temperament: each string's cents from where it is
  // to be, the same strings heard at the same frequencies.
  const std::vector<Row> plain = CsvRows(r.out);
  const std::vector<Row> sweet =
      CsvRows(RunTool(DROVANE_ANALYZE, "--csv --tuning 'D2 A2 D3 G3 B3-10 E4' --temperament just --strum " + path).out);
  ASSERT_EQ(sweet.size(), plain.size());
  // D A D G B E in just intonation on C: 9/8, 5/3, 9/8, 3/2, 15/8, 5/4.
  const double ratios[6] = {9.0 / 8, 5.0 / 3, 9.0 / 8, 3.0 / 2, 15.0 / 8, 5.0 / 4};
  const int degrees[6] = {2, 9, 2, 7, 11, 4};
  for (size_t i = 0; i < plain.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sweet[i].heard, plain[i].heard);
    EXPECT_EQ(sweet[i].frequency, plain[i].frequency);
    if (plain[i].heard != "1") continue;
    const int s = std::stoi(plain[i].string) - 1;
    const double moved = 1200 * std::log2(ratios[s]) - 100 * degrees[s] + (s == 4 ? -10 : 0);
    EXPECT_NEAR(std::stod(sweet[i].cents), std::stod(plain[i].cents) - moved, 0.011);
  }

  // Silence strikes no string: no strum, said, and no failure.
  const std::string quiet = WriteSound("silence.wav", std::vector<int16_t>(3 * 22050), 22050, 1);
  r = RunTool(DROVANE_ANALYZE, "--strum --csv " + quiet);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string(kHeader) + "\n");
  EXPECT_EQ(r.err, "drovane-analyze: " + quiet + ": no strum was found (an attack that strikes a string)\n");

  // A file that is not there fails alone; the others are still read.
  r = RunTool(DROVANE_ANALYZE, "--strum --csv " + path + ".missing " + path);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Lines(r.out).size(), 13u);
  EXPECT_NE(r.err.find(".missing: No such file or directory"), std::string::npos) << r.err;
}

// A five-string bass of the string model, three down-strums 30 cents off
// at most, one string muted in the third: five rows a strum, string 1 the
// low B, in every format; each string heard is named by its own note and
// reads its detuning; the muted string is not heard; the tuner's own
// --strum takes the tuning too.
TEST(StrumCli, AFiveStringBassStrumIsFiveRowsAStrum) {
  material::StrumPlan plan;
  plan.notes = {23, 28, 33, 38, 43};
  plan.strums = 3;
  plan.detune = 30;
  material::Source bass;
  ASSERT_TRUE(material::ParseSource("model-bass", &bass));
  bass.seed = 31;
  material::Take take;
  std::string error;
  ASSERT_TRUE(material::MakeTake(bass, material::MakeStrums(plan, bass.seed), std::nullopt, "", &take, &error))
      << error;
  const std::string path = WriteSound("bass-5.wav", take.heard, 22050, 1);

  const Outcome r = RunTool(DROVANE_ANALYZE, "--strum --csv --tuning bass-5 " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<Row> rows = CsvRows(r.out);
  ASSERT_EQ(rows.size(), 15u) << r.out;
  const std::vector<std::string> names{"B-4", "E-3", "A-3", "D-2", "G-2"};
  int heard = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row &row = rows[i];
    const int strum = static_cast<int>(i / 5), string = static_cast<int>(i % 5);
    const std::string where = "strum " + std::to_string(strum + 1) + " string " + row.string;
    EXPECT_EQ(row.string, std::to_string(string + 1)) << where;
    EXPECT_EQ(row.target, names[string]) << where;
    const material::Pluck &p = take.score.plucks[strum * 5 + string];
    ASSERT_EQ(p.string, string);
    if (p.muted) {
      EXPECT_EQ(row.heard, "0") << where << ": muted";
      continue;
    }
    if (row.heard != "1") continue;
    ++heard;
    EXPECT_EQ(row.name, names[string]) << where;
    EXPECT_NEAR(std::stod(row.cents), p.cents, 3.0) << where;
  }
  EXPECT_GE(heard, 12) << "of 14 ringing strings";
  EXPECT_TRUE(rows[0].heard == "1" || rows[5].heard == "1") << "the low B, 30.9 Hz";

  const Outcome table = RunTool(DROVANE_ANALYZE, "--strum --tuning bass-5 " + path);
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_EQ(Lines(table.out).size(), 2u + 3 * 5 + 2) << table.out;
  EXPECT_EQ(Lines(table.out)[0], path + " (reference A = 440.00 Hz, tuning B0 E1 A1 D2 G2)");
  const Outcome json = RunTool(DROVANE_ANALYZE, "--strum --json --tuning bass-5 " + path);
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(Lines(json.out).size(), 15u);
  EXPECT_NE(Lines(json.out)[4].find("\"string\":5,\"target\":\"G-2\""), std::string::npos) << Lines(json.out)[4];
}

}  // namespace

