#include <gtest/gtest.h>

#include <algorithm>

#include "measure/Tuning.h"

namespace {

using Measure::Tuning;

Tuning Parse(const char *text) {
  Tuning t{{0, 0, 0, 0, 0, 0}};
  std::string error;
  EXPECT_TRUE(Measure::ParseTuning(text, &t, &error)) << text << ": " << error;
  return t;
}

TEST(Tuning, NamesAndNoteListsGiveTheSameSixNotes) {
  EXPECT_EQ(Tuning{}.notes, (std::array<int, 6>{40, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Measure::NamedTunings().front().name, std::string("standard"));
  EXPECT_EQ(Measure::NamedTunings().front().tuning, Tuning{});
  EXPECT_EQ(Measure::NamedTunings().size(), 10u);
  // Every named tuning reads back from its own description and its MIDI numbers.
  for (const Measure::NamedTuning &named : Measure::NamedTunings()) {
    EXPECT_EQ(Parse(named.name), named.tuning);
    EXPECT_EQ(Parse(Measure::DescribeNotes(named.tuning).c_str()), named.tuning) << named.name;
    std::string numbers;
    for (int n : named.tuning.notes) numbers += std::to_string(n) + ",";
    numbers.pop_back();
    EXPECT_EQ(Parse(numbers.c_str()), named.tuning) << numbers;
  }
  EXPECT_EQ(Parse("D2 A2 D3 G3 B3 E4").notes, (std::array<int, 6>{38, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Parse(" 38, 45 ,50,,55 59\t64 ").notes, (std::array<int, 6>{38, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Parse("DROP-D"), Parse("drop-d"));
  // Sharps and flats, lower-case letters, and the same pitch spelt two ways.
  EXPECT_EQ(Parse("Eb2 g#2 Db3 F#3 Bb3 d#4").notes, (std::array<int, 6>{39, 44, 49, 54, 58, 63}));
  EXPECT_EQ(Parse("Cb2 B#1 E#2 Fb2 C1 C6").notes, (std::array<int, 6>{35, 36, 41, 40, 24, 84}));
  EXPECT_EQ(Measure::DescribeNotes(Parse("half-step-down")), "Eb2 G#2 C#3 F#3 Bb3 Eb4");
}

TEST(Tuning, BadTuningsAreRefusedWithTheNamesListed) {
  for (const char *bad : {"", "standrd", "E2 A2 D3 G3 B3", "E2 A2 D3 G3 B3 E4 A4", "E2 A2 D3 G3 B3 H4", "E-2 A2 D3 G3 B3 E4",
                          "40 45 50 55 59 85", "23 45 50 55 59 64", "40 45 50 55 59 64x", "E2 A2 D3 G3 B3 E", "Ebb2 A2 D3 G3 B3 E4",
                          "+40 45 50 55 59 64", "E10 A2 D3 G3 B3 E4"}) {
    Tuning t;
    std::string error;
    EXPECT_FALSE(Measure::ParseTuning(bad, &t, &error)) << bad;
    EXPECT_EQ(t, Tuning{}) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
    for (const Measure::NamedTuning &named : Measure::NamedTunings())
      EXPECT_NE(error.find(named.name), std::string::npos) << error;
  }
}

TEST(Tuning, HelpListsEveryNameWithItsNotes) {
  const std::string help = Measure::DescribeNamedTunings();
  EXPECT_NE(help.find("  standard" + std::string(9, ' ') + "E2 A2 D3 G3 B3 E4\n"), std::string::npos) << help;
  EXPECT_NE(help.find("  open-c" + std::string(11, ' ') + "C2 G2 C3 G3 C4 E4\n"), std::string::npos) << help;
  EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 10);
  EXPECT_EQ(Measure::ScientificName(0), "C-1");
  EXPECT_EQ(Measure::ScientificName(69), "A4");
  EXPECT_EQ(Measure::ScientificName(127), "G9");
}

}  // namespace
