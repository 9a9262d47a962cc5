#include <gtest/gtest.h>

#include <algorithm>

#include "measure/MidiTypes.h"
#include "measure/NoteName.h"
#include "measure/Tuning.h"

namespace {

using Measure::Tuning;

Tuning Parse(const char *text) {
  Tuning t{{0, 0, 0, 0, 0, 0}};
  std::string why;
  EXPECT_TRUE(Measure::ParseTuning(text, &t, &why)) << text << ": " << why;
  return t;
}

// Refused, *out untouched; the reason.
std::string Refusal(const std::string &text) {
  Tuning t;
  std::string why;
  EXPECT_FALSE(Measure::ParseTuning(text, &t, &why)) << text;
  EXPECT_EQ(t, Tuning{}) << text;
  return why;
}

std::string Narrow(const wchar_t *wide) {
  std::string text;
  while (*wide) text += static_cast<char>(*wide++);
  return text;
}

TEST(Tuning, NamesAndNoteListsGiveTheSameSixNotes) {
  EXPECT_EQ(Tuning{}.notes, (std::array<int, 6>{40, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Measure::NamedTunings().front().name, std::string("standard"));
  EXPECT_EQ(Measure::NamedTunings().front().tuning, Tuning{});
  EXPECT_EQ(Measure::NamedTunings().size(), 10u);
  // Every named tuning reads back from its own description, from the
  // tuner's own names of its notes and from its MIDI numbers.
  for (const Measure::NamedTuning &named : Measure::NamedTunings()) {
    EXPECT_EQ(Parse(named.name), named.tuning);
    EXPECT_EQ(Parse(Measure::DescribeNotes(named.tuning).c_str()), named.tuning) << named.name;
    std::string numbers, own;
    for (int n : named.tuning.notes) numbers += std::to_string(n) + ",", own += Measure::TunerName(n) + " ";
    numbers.pop_back();
    EXPECT_EQ(Parse(numbers.c_str()), named.tuning) << numbers;
    EXPECT_EQ(Parse(own.c_str()), named.tuning) << own;
  }
  EXPECT_EQ(Parse("D2 A2 D3 G3 B3 E4").notes, (std::array<int, 6>{38, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Parse(" 38, 45 ,50,,55 59\t64 ").notes, (std::array<int, 6>{38, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Parse("DROP-D"), Parse("drop-d"));
  EXPECT_EQ(Parse(" standard"), Tuning{}) << "blanks around a name, as around notes";
  EXPECT_EQ(Parse("\tdrop-d  "), Parse("drop-d"));
  // Sharps and flats, as signs too, lower-case letters, and the same pitch
  // spelt two ways.
  EXPECT_EQ(Parse("Eb2 g#2 Db3 F#3 Bb3 d#4").notes, (std::array<int, 6>{39, 44, 49, 54, 58, 63}));
  EXPECT_EQ(Parse("E\u266D2 A\u266D2 D\u266D3 G\u266D3 B\u266D3 e\u266D4"), Parse("half-step-down"));
  EXPECT_EQ(Parse("C1 Cb2 B#1 E\u266F2 G2 C6").notes, (std::array<int, 6>{24, 35, 36, 41, 43, 84}));
  EXPECT_EQ(Measure::DescribeNotes(Parse("half-step-down")), "Eb2 G#2 C#3 F#3 Bb3 Eb4");
  // The tuner's own naming: a negative octave says so, and the names
  // without one are read alike; middle C is C1 there.
  EXPECT_EQ(Parse("E-2 A-2 D-1 G-1 B-1 E1"), Tuning{});
  EXPECT_EQ(Parse("C-2 G-2 C-1 G-1 C1 E1"), Parse("open-c"));
  EXPECT_EQ(Parse("C-3 48 C-1 C1 C2 C3").notes, (std::array<int, 6>{24, 48, 48, 60, 72, 84}));
}

TEST(Tuning, BadTuningsAreRefusedSayingWhatIsWrong) {
  // No tuning at all: the names and what notes may be, with both namings
  // and the Hz.
  for (const char *bad : {"", "standrd", "E2 A2 D3 G3 B3", "E2 A2 D3 G3 B3 E4 A4", "drop d", "standard,"}) {
    const std::string why = Refusal(bad);
    EXPECT_EQ(why.find("expected one of standard, drop-d,"), 0u) << why;
    for (const Measure::NamedTuning &named : Measure::NamedTunings())
      EXPECT_NE(why.find(named.name), std::string::npos) << why;
    EXPECT_NE(why.find("between C1 (32.70 Hz) and C6 (1046.50 Hz) in scientific pitch notation (C-3 and C3 in the "
                       "tuner's own naming, MIDI 24 and 84)"),
              std::string::npos)
        << why;
  }
  // A word that is no note is named.
  for (const char *bad : {"E2 A2 D3 G3 B3 H4", "40 45 50 55 59 64x", "E2 A2 D3 G3 B3 E", "Ebb2 A2 D3 G3 B3 E4",
                          "+40 45 50 55 59 64", "E10 A2 D3 G3 B3 E4", "E2 A2 D3 G3 B3 E\u266E4"})
    EXPECT_NE(Refusal(bad).find(" is no note (a MIDI number, or a letter A-G, a sharp or flat and an octave"),
              std::string::npos)
        << bad;
  EXPECT_EQ(Refusal("E2 A2 D3 G3 B3 H4").find("'H4' is no note"), 0u);
  // High to low: refused, with the order that was meant.
  EXPECT_EQ(Refusal("E4 B3 G3 D3 A2 E2"),
            "the strings go from high to low; give string 1, the lowest, first, as \"E2 A2 D3 G3 B3 E4\"");
  EXPECT_EQ(Refusal("64 59 55 50 45 40"), Refusal("E4 B3 G3 D3 A2 E2"));
  EXPECT_EQ(Refusal("E2 D3 A2 G3 B3 E4"), "string 3 (A2) lies below string 2 (D3): give the strings lowest first");
  // Out of range: the note in scientific naming with its Hz, and how it was
  // read.
  EXPECT_EQ(Refusal("40 45 50 55 59 85"),
            "'85' is C#6 (1108.73 Hz): the strings lie between C1 (32.70 Hz) and C6 (1046.50 Hz) in scientific pitch "
            "notation (C-3 and C3 in the tuner's own naming, MIDI 24 and 84)");
  EXPECT_EQ(Refusal("B0 A2 D3 G3 B3 E4").find("'B0' is B0 (30.87 Hz): the strings lie between C1"), 0u);
  EXPECT_EQ(Refusal("E-2 A-2 D-1 G-1 B-1 E4").find("'E-2' is in the tuner's own octave naming and 'E4' in scientific"),
            0u);
  EXPECT_EQ(Refusal("E-2 A-2 D-1 G-1 B-1 E3").find("'E3', in the tuner's own octave naming, is E6 (1318.51 Hz): "), 0u);
  EXPECT_EQ(Refusal("-5 45 50 55 59 64").find("'-5' is no string's note: the strings lie between"), 0u);
  // A long word is cut in the reason.
  const std::string longWord = "E2 A2 D3 G3 B3 " + std::string(120000, 'x');
  EXPECT_EQ(Refusal(longWord), "'xxxxxxxxxxxx...' is no note (a MIDI number, or a letter A-G, a sharp or flat and an "
                               "octave, as F#2)");
}

TEST(Tuning, HelpListsEveryNameWithItsNotes) {
  const std::string help = Measure::DescribeNamedTunings();
  EXPECT_NE(help.find("  standard" + std::string(9, ' ') + "E2 A2 D3 G3 B3 E4\n"), std::string::npos) << help;
  EXPECT_NE(help.find("  open-c" + std::string(11, ' ') + "C2 G2 C3 G3 C4 E4\n"), std::string::npos) << help;
  EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 10);
}

// Both namings of every MIDI note read back to it; the tuner's own is the
// one it prints.
TEST(NoteName, BothNamingsOfEveryNoteReadBack) {
  const PitchNameStyle::Value saved = GetPitchNameStyle();
  SetPitchNameStyle(PitchNameStyle::kMixed);
  for (int note = 0; note <= 127; ++note) {
    const std::string scientific = Measure::ScientificName(note), own = Measure::TunerName(note);
    EXPECT_EQ(own, Narrow(GetPitchName(note)));
    const std::optional<Measure::WrittenNote> a = Measure::ReadNoteName(scientific), b = Measure::ReadNoteName(own);
    ASSERT_TRUE(a && b) << note;
    EXPECT_EQ(Measure::ScientificNote(*a), note) << scientific;
    EXPECT_EQ(Measure::TunerNote(*b), note) << own;
    if (note >= 21 && note <= 84) {  // a string's: the tuner's own name is its alone below middle C
      EXPECT_TRUE(Measure::FitsTunerNaming(*b)) << own;
      EXPECT_EQ(Measure::FitsScientificNaming(*b), note >= 60) << own;
    }
  }
  SetPitchNameStyle(saved);
  EXPECT_EQ(Measure::ScientificName(0), "C-1");
  EXPECT_EQ(Measure::ScientificName(69), "A4");
  EXPECT_EQ(Measure::TunerName(69), "A1");
  EXPECT_EQ(Measure::NameWithHertz(40), "E2 (82.41 Hz)");
  EXPECT_FALSE(Measure::ReadNoteName("E"));
  EXPECT_FALSE(Measure::ReadNoteName("E-"));
  EXPECT_FALSE(Measure::ReadNoteName("\u266F2"));
}

}  // namespace
