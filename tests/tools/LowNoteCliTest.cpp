// drovane-analyze on a bass's B0 and E1 from our string model: a five-string
// bass's tuning reads them in tune, the phone's standard tuning not at all;
// and --precise reads a plucked guitar string within 10 cents soon after
// its pluck, where the phone's first reading comes 0.77 s into the sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "Take.h"
#include "ToolRun.h"
#include "measure/MidiTypes.h"

namespace {

constexpr double kPluck = 0.3;  // material::MakeNote strikes its note 0.3 s in

struct Row {
  double time, note;
};

// The CSV rows with a note: file,time,level,note,Hz,name,cents.
std::vector<Row> Rows(const std::string &csv) {
  std::vector<Row> rows;
  for (const std::string &line : Lines(csv)) {
    std::vector<std::string> f;
    std::stringstream s(line);
    for (std::string field; std::getline(s, field, ',');) f.push_back(field);
    if (f.size() >= 4 && f[3] != "note" && std::stod(f[3]) != 0) rows.push_back({std::stod(f[1]), std::stod(f[3])});
  }
  return rows;
}

std::string ModelNote(const std::string &name, material::StringKind kind, int midi, double cents, double *truth) {
  material::Take take;
  std::string error;
  material::Source source;
  source.strings = kind;
  source.seed = 5;
  EXPECT_TRUE(material::MakeTake(source, material::MakeNote(midi, cents), std::nullopt, "", &take, &error)) << error;
  *truth = NoteFromFrequency(take.hertz.at(0), 440);
  return WriteSound(name, std::vector<short>(take.heard.begin(), take.heard.end()), 22050, 1);
}

TEST(LowNoteCli, ABassTuningReadsB0AndE1InTuneAndTheStandardOneDoesNot) {
  for (int midi : {23, 28}) {
    double truth = 0;
    const std::string name = "bass-" + std::to_string(midi) + ".wav";
    const std::string wav = ModelNote(name, material::StringKind::kBass, midi, 4, &truth);
    const Outcome bass = RunTool(DROVANE_ANALYZE, "--tuning bass-5 --csv " + wav);
    ASSERT_EQ(bass.status, 0) << bass.err;
    std::vector<double> steady;
    double first = -1;
    for (const Row &r : Rows(bass.out)) {
      EXPECT_LT(std::fabs(r.note - truth), 0.5) << midi << " at " << r.time;
      if (first < 0 && std::fabs(r.note - truth) <= 0.1) first = r.time;
      if (r.time >= kPluck + 0.5) steady.push_back(100 * (r.note - truth));
    }
    ASSERT_GT(steady.size(), 50u) << midi;
    std::sort(steady.begin(), steady.end());
    EXPECT_LE(std::fabs(steady[steady.size() / 2]), 1.0) << midi;
    EXPECT_GE(first, kPluck) << midi;
    EXPECT_LE(first, kPluck + 0.4) << midi;
    const Outcome standard = RunTool(DROVANE_ANALYZE, "--csv " + wav);
    ASSERT_EQ(standard.status, 0) << standard.err;
    for (const Row &r : Rows(standard.out)) EXPECT_GT(std::fabs(r.note - truth), 0.5) << midi << " read by the phone";
  }
}

TEST(LowNoteCli, PreciseReadsAPluckWithinTenCentsInAFewHops) {
  double truth = 0;
  const std::string wav = ModelNote("guitar-a2.wav", material::StringKind::kGuitar, 45, -12, &truth);
  double first[2] = {-1, -1};
  for (int precise : {0, 1}) {
    const Outcome r = RunTool(DROVANE_ANALYZE, std::string(precise ? "--precise " : "") + "--csv " + wav);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const Row &row : Rows(r.out))
      if (first[precise] < 0 && std::fabs(row.note - truth) <= 0.1) first[precise] = row.time;
  }
  // A row's time is its block's start; the fine measurer's blocks are 20 ms.
  EXPECT_GE(first[1], kPluck - 0.02);
  EXPECT_LE(first[1] + 0.02, kPluck + 0.15);
  EXPECT_GE(first[0], 0.77 - 0.05);
}

}  // namespace
