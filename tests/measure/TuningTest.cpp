#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

using Notes = std::vector<int>;

Notes NotesOf(const Tuning &t) { return Notes(t.notes.begin(), t.notes.end()); }

TEST(Tuning, NamesAndNoteListsGiveTheSameStrings) {
  EXPECT_EQ(NotesOf(Tuning{}), (Notes{40, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Tuning{}.Strings(), 6u);
  EXPECT_EQ(Measure::NamedTunings().front().name, std::string("standard"));
  EXPECT_EQ(Measure::NamedTunings().front().tuning, Tuning{});
  EXPECT_EQ(Measure::NamedTunings().size(), 19u);
  // Every named tuning reads back from its own description, from the
  // tuner's own names of its notes and from its MIDI numbers.
  for (const Measure::NamedTuning &named : Measure::NamedTunings()) {
    EXPECT_EQ(Parse(named.name), named.tuning);
    EXPECT_EQ(Parse(Measure::DescribeNotes(named.tuning).c_str()), named.tuning) << named.name;
    std::string numbers, own;
    for (int n : named.tuning.notes) numbers += std::to_string(n) + ",", own += Measure::TunerName(n) + " ";
    numbers.pop_back();
    EXPECT_EQ(Parse(numbers.c_str()), named.tuning) << numbers;
    // A tuning all above middle C has no negative octave in the tuner's own
    // names, which then read as scientific (below).
    if (*std::min_element(named.tuning.notes.begin(), named.tuning.notes.end()) < 60) {
      EXPECT_EQ(Parse(own.c_str()), named.tuning) << own;
    }
  }
  EXPECT_EQ(NotesOf(Parse("D2 A2 D3 G3 B3 E4")), (Notes{38, 45, 50, 55, 59, 64}));
  EXPECT_EQ(NotesOf(Parse(" 38, 45 ,50,,55 59\t64 ")), (Notes{38, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Parse("DROP-D"), Parse("drop-d"));
  EXPECT_EQ(Parse(" standard"), Tuning{}) << "blanks around a name, as around notes";
  EXPECT_EQ(Parse("\tdrop-d  "), Parse("drop-d"));
  // Sharps and flats, as signs too, lower-case letters, and the same pitch
  // spelt two ways.
  EXPECT_EQ(NotesOf(Parse("Eb2 g#2 Db3 F#3 Bb3 d#4")), (Notes{39, 44, 49, 54, 58, 63}));
  EXPECT_EQ(Parse("E\u266D2 A\u266D2 D\u266D3 G\u266D3 B\u266D3 e\u266D4"), Parse("half-step-down"));
  EXPECT_EQ(NotesOf(Parse("C1 Cb2 B#1 E\u266F2 G2 C6")), (Notes{24, 35, 36, 41, 43, 84}));
  EXPECT_EQ(Measure::DescribeNotes(Parse("half-step-down")), "Eb2 G#2 C#3 F#3 Bb3 Eb4");
  // The tuner's own naming: a negative octave says so, and the names
  // without one are read alike; middle C is C1 there.
  EXPECT_EQ(Parse("E-2 A-2 D-1 G-1 B-1 E1"), Tuning{});
  EXPECT_EQ(Parse("C-2 G-2 C-1 G-1 C1 E1"), Parse("open-c"));
  EXPECT_EQ(NotesOf(Parse("C-3 48 C-1 C1 C2 C3")), (Notes{24, 48, 48, 60, 72, 84}));
}

// Four to nine strings; string 1 may lie above string 2; each string may
// carry its offset.
TEST(Tuning, OtherInstrumentsReEntrantStringsAndOffsets) {
  EXPECT_EQ(NotesOf(Parse("bass-5")), (Notes{23, 28, 33, 38, 43}));
  EXPECT_EQ(Parse("B0 E1 A1 D2 G2"), Parse("bass-5"));
  EXPECT_EQ(Parse("B-4 E-3 A-3 D-2 G-2"), Parse("bass-5")) << "the tuner's own names of a bass";
  EXPECT_EQ(NotesOf(Parse("seven-string")), (Notes{35, 40, 45, 50, 55, 59, 64}));
  EXPECT_EQ(Parse("G4 C4 E4 A4"), Parse("ukulele"));
  EXPECT_EQ(Parse("G1 C1 E1 A1"), Parse("G1 C1 E1 A1")) << "no negative octave: scientific, low notes";
  EXPECT_EQ(NotesOf(Parse("G1 C1 E1 A1")), (Notes{31, 24, 28, 33}));
  EXPECT_EQ(NotesOf(Parse("banjo")), (Notes{67, 50, 55, 59, 62}));
  EXPECT_EQ(Parse("21 30 40 50 60 70 75 80 84").Strings(), 9u);
  EXPECT_EQ(Parse("A0 A1 A2 A3").Strings(), 4u);

  const Tuning sweet = Parse("E2 A2 D3 G3 B3-1.5 E4+2");
  EXPECT_EQ(NotesOf(sweet), (Notes{40, 45, 50, 55, 59, 64}));
  EXPECT_EQ(sweet.offsets[4], -1.5);
  EXPECT_EQ(sweet.offsets[5], 2);
  EXPECT_EQ(sweet.offsets[3], 0);
  EXPECT_EQ(Measure::DescribeNotes(sweet), "E2 A2 D3 G3 B3-1.5 E4+2");
  EXPECT_EQ(Parse("40 45 50 55 59-1.5 64+2"), sweet);
  EXPECT_EQ(Parse("E-2 A-2 D-1 G-1 B-1-1.5 E1+2.00"), sweet);
  EXPECT_EQ(Parse("E2 A2 D3 G3 B3-50 E4+12.25").offsets[5], 12.25);
  EXPECT_EQ(Parse("E2 A2 D3 G3 B3-0.01 E4").offsets[4], -0.01);
  EXPECT_EQ(Measure::DescribeNotes(Parse("E2 A2 D3 G3 B3-0.1 E4")), "E2 A2 D3 G3 B3-0.1 E4");
}

TEST(Tuning, BadTuningsAreRefusedSayingWhatIsWrong) {
  // No tuning at all: the names and what notes may be, with both namings
  // and the Hz.
  for (const char *bad : {"", "standrd", "E2 A2 D3", "E2 A2 D3 G3 B3 E4 A4 B4 C5 D5", "drop d", "standard,"}) {
    const std::string why = Refusal(bad);
    EXPECT_EQ(why.find("expected one of standard, drop-d,"), 0u) << why;
    for (const Measure::NamedTuning &named : Measure::NamedTunings())
      EXPECT_NE(why.find(named.name), std::string::npos) << why;
    EXPECT_NE(why.find("or 4 to 9 notes, string 1 first, between A0 (27.50 Hz) and C6 (1046.50 Hz) in scientific "
                       "pitch notation (A-4 and C3 in the tuner's own naming, MIDI 21 and 84)"),
              std::string::npos)
        << why;
  }
  // A word that is no note is named.
  for (const char *bad : {"E2 A2 D3 G3 B3 H4", "40 45 50 55 59 64x", "E2 A2 D3 G3 B3 E", "Ebb2 A2 D3 G3 B3 E4",
                          "+40 45 50 55 59 64", "-5 45 50 55 59 64", "E10 A2 D3 G3 B3 E4", "E2 A2 D3 G3 B3 E\u266E4",
                          "E2 A2 D3 G3 B3--1 E4"})
    EXPECT_NE(Refusal(bad).find(" is no note (a MIDI number, or a letter A-G, a sharp or flat and an octave"),
              std::string::npos)
        << bad;
  EXPECT_EQ(Refusal("E2 A2 D3 G3 B3 H4").find("'H4' is no note"), 0u);
  // Offsets: the shape, and at most 50 cents.
  for (const char *bad : {"E2 A2 D3 G3 B3-1.555 E4", "E2 A2 D3 G3 B3- E4", "E2 A2 D3 G3 B3+1. E4",
                          "E2 A2 D3 G3 B3-100 E4", "E2 A2 D3 G3 B3-1e1 E4"})
    EXPECT_NE(Refusal(bad).find(": an offset is a sign and cents, as B3-1.5 or 59+2"), std::string::npos) << bad;
  EXPECT_EQ(Refusal("E2 A2 D3 G3 B3-50.01 E4"),
            "'B3-50.01' lies more than 50 cents off its note, nearer another: an offset is at most 50 cents");
  // High to low: refused, with the order that was meant, offsets kept.
  EXPECT_EQ(Refusal("E4 B3-1.5 G3 D3 A2 E2"),
            "the strings go from high to low; give string 1, the lowest, first, as \"E2 A2 D3 G3 B3-1.5 E4\"");
  EXPECT_EQ(Refusal("64 59-1.5 55 50 45 40"), Refusal("E4 B3-1.5 G3 D3 A2 E2"));
  EXPECT_EQ(Refusal("A4 E4 C4 G4").find("string 3 (C4) lies below string 2 (E4)"), 0u);
  EXPECT_EQ(Refusal("E2 D3 A2 G3 B3 E4"), "string 3 (A2) lies below string 2 (D3): give the strings lowest first "
                                          "(only string 1 may lie higher, as a ukulele's G4 C4 E4 A4)");
  // Out of range: the note in scientific naming with its Hz, and how it was
  // read.
  EXPECT_EQ(Refusal("40 45 50 55 59 85"),
            "'85' is C#6 (1108.73 Hz): the strings lie between A0 (27.50 Hz) and C6 (1046.50 Hz) in scientific pitch "
            "notation (A-4 and C3 in the tuner's own naming, MIDI 21 and 84)");
  EXPECT_EQ(Refusal("G#0 A2 D3 G3 B3 E4").find("'G#0' is G#0 (25.96 Hz): the strings lie between A0"), 0u);
  EXPECT_EQ(Refusal("E-2 A-2 D-1 G-1 B-1 E4").find("'E-2' is in the tuner's own octave naming and 'E4' in scientific"),
            0u);
  EXPECT_EQ(Refusal("E-2 A-2 D-1 G-1 B-1 E3").find("'E3', in the tuner's own octave naming, is E6 (1318.51 Hz): "), 0u);
  // A long word is cut in the reason.
  const std::string longWord = "E2 A2 D3 G3 B3 " + std::string(120000, 'x');
  EXPECT_EQ(Refusal(longWord).find("'xxxxxxxxxxxx...' is no note (a MIDI number"), 0u);
}

TEST(Tuning, HelpListsEveryNameWithItsNotes) {
  const std::string help = Measure::DescribeNamedTunings();
  EXPECT_NE(help.find("  standard" + std::string(9, ' ') + "E2 A2 D3 G3 B3 E4\n"), std::string::npos) << help;
  EXPECT_NE(help.find("  open-c" + std::string(11, ' ') + "C2 G2 C3 G3 C4 E4\n"), std::string::npos) << help;
  EXPECT_NE(help.find("  bass-5" + std::string(11, ' ') + "B0 E1 A1 D2 G2\n"), std::string::npos) << help;
  EXPECT_NE(help.find("  ukulele" + std::string(10, ' ') + "G4 C4 E4 A4 (re-entrant: the G above the C)\n"),
            std::string::npos)
      << help;
  EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 19);
  const std::string rules = Measure::DescribeTuningRules();
  for (const std::string line : {"between A0 (27.50 Hz) and C6 (1046.50 Hz), A-4 and C3 in the", "B3-1.5, 59+2"})
    EXPECT_NE(rules.find(line), std::string::npos) << rules;
  EXPECT_TRUE(std::all_of(rules.begin(), rules.end(), [](char c) { return c > 0 && c < 127; })) << "ASCII alone";
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
