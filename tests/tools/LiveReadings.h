#pragma once

// The tools' live audio as the sound server tests check it: the CSV rows
// boiled down to one reading, the analyser hearing a recording live, and the
// reference tone played live.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "ToolRun.h"

// The middle pitched reading of CSV rows (time,level,note,Hz,name,cents).
struct Reading {
  size_t pitched = 0;
  std::string name;
  double cents = 0;
};

inline Reading Middle(const std::vector<std::string> &rows) {
  std::vector<std::pair<double, std::string>> found;
  for (const std::string &row : rows) {
    double t, note, hz, cents;
    int level;
    char name[8];
    const char *fields = row.c_str() + row.find(',') + 1;  // after the file's name
    if (std::sscanf(fields, "%lf,%d,%lf,%lf,%7[^,],%lf", &t, &level, &note, &hz, name, &cents) == 6 && note > 0)
      found.emplace_back(cents, name);
  }
  if (found.empty()) return {};
  std::sort(found.begin(), found.end());
  const auto &middle = found[found.size() / 2];
  return {found.size(), middle.second, middle.first};
}

inline Reading OfFile(const std::string &path) {
  const Outcome r = RunTool(DROVANE_ANALYZE, "--csv " + path);
  EXPECT_EQ(r.status, 0) << r.err;
  return Middle(Lines(r.out));
}

// Runs drovane-analyze --live --csv with `env` while `play` plays the file
// whose reading is `file` into the server (returning its status), reads until
// the sound has passed, ends it with Ctrl-C, and checks that it heard the
// file's note and cents with no sound lost.
inline void ExpectLiveHearsTheFile(const std::vector<std::string> &env, const std::function<int()> &play,
                                   const Reading &file) {
  ChildProcess live(DROVANE_ANALYZE, {"--live", "--csv"}, env, OutputPath("err"));
  std::string line;
  ASSERT_TRUE(live.ReadLine(&line)) << Slurp(OutputPath("err"));  // the column heads: capturing
  ASSERT_EQ(play(), 0);
  // Read until the tone, now all played, has passed the analyser.
  std::vector<std::string> rows;
  while (live.ReadLine(&line)) {
    rows.push_back(line);
    if (line.find(",0.000000000,") != std::string::npos) break;
  }
  live.Signal(SIGINT);
  while (live.ReadLine(&line)) rows.push_back(line);
  EXPECT_EQ(live.Wait(), 0);

  const Reading heard = Middle(rows);
  EXPECT_GE(heard.pitched, file.pitched * 3 / 4) << "most of the tone was heard";
  EXPECT_EQ(heard.name, file.name);
  EXPECT_NEAR(heard.cents, file.cents, 1.5);
  const std::string summary = Slurp(OutputPath("err"));
  EXPECT_NE(summary.find("last note heard: " + file.name + " "), std::string::npos) << summary;
  EXPECT_NE(summary.find("; overruns: 0 (0.000 s of sound lost)\n"), std::string::npos) << summary;
}

// Plays the low E string's tone live with `env`, quietly and to its end.
inline void PlayLowELive(const std::vector<std::string> &env) {
  ChildProcess tone(DROVANE_TONE, {"--string", "1"}, env, OutputPath("err"));
  std::string line;
  EXPECT_FALSE(tone.ReadLine(&line));
  EXPECT_EQ(tone.Wait(), 0);
  EXPECT_EQ(Slurp(OutputPath("err")), "");
}

// Checks that `recorded` holds the low E string's tone as the tool writes it.
inline void ExpectTheLowE(const std::string &recorded) {
  const std::string rendered = OutputPath("tone-rendered.wav");
  ASSERT_EQ(RunTool(DROVANE_TONE, "--string 1 --out " + rendered).status, 0);
  const Reading played = OfFile(rendered), heard = OfFile(recorded);
  EXPECT_EQ(heard.name, "E-2");
  EXPECT_EQ(heard.name, played.name);
  EXPECT_NEAR(heard.cents, played.cents, 1.5);
  EXPECT_GE(heard.pitched, played.pitched * 3 / 4);
}
