#include <gtest/gtest.h>

#include "general/AssertionRecord.h"
#include "measure/MidiTypes.h"

namespace {

struct Style {
  explicit Style(int s) : saved(GetPitchNameStyle()) { SetPitchNameStyle(s); }
  ~Style() { SetPitchNameStyle(saved); }
  int saved;
};

TEST(MidiTypes, NotesAndFrequencies) {
  EXPECT_DOUBLE_EQ(NoteFromFrequency(440, 440), 69);
  EXPECT_NEAR(NoteFromFrequency(82.4069, 440), 40, 1e-4);
  EXPECT_NEAR(FrequencyFromNote(64, 440), 329.628, 1e-3);
  EXPECT_NEAR(FrequencyFromNote(45, 440), 110, 1e-12);
  EXPECT_DOUBLE_EQ(FrequencyFromNote(69, 442), 442);
  EXPECT_NEAR(NoteFromFrequency(440, 442), 68.9215, 1e-4);
  for (double n : {28.3, 40.0, 69.5, 100.01}) EXPECT_NEAR(NoteFromFrequency(FrequencyFromNote(n, 431), 431), n, 1e-12);
}

TEST(MidiTypes, MixedStyleNamesTheGuitarStrings) {
  Style style(2);
  // Notes 36–47 carry the label -2 (n div 12 − 5), so the two lowest strings
  // are "E-2" and "A-2".
  const wchar_t *expected[] = {L"E-2", L"A-2", L"D-1", L"G-1", L"B-1", L"E1"};
  const int strings[] = {40, 45, 50, 55, 59, 64};
  for (int i = 0; i < 6; ++i) EXPECT_STREQ(GetPitchName(strings[i]), expected[i]);
  EXPECT_STREQ(GetPitchName(61), L"C#1");
  EXPECT_STREQ(GetPitchName(70), L"Bb1");
  EXPECT_STREQ(GetPitchName(73), L"C#2");
  EXPECT_STREQ(GetPitchName(63), L"Eb1");
  EXPECT_STREQ(GetPitchShortName(130), L"Bb");
}

TEST(MidiTypes, StylesAndOctaveLabelsAtTheRangeEnds) {
  {
    Style style(1);
    EXPECT_STREQ(GetPitchName(58), L"Bb-1");
    EXPECT_STREQ(GetPitchName(1), L"Db-5");
  }
  Style style(0);
  EXPECT_STREQ(GetPitchName(58), L"A#-1");
  EXPECT_STREQ(GetPitchName(0), L"C-5");
  EXPECT_STREQ(GetPitchName(11), L"B-5");
  EXPECT_STREQ(GetPitchName(12), L"C-4");
  EXPECT_STREQ(GetPitchName(59), L"B-1");
  EXPECT_STREQ(GetPitchName(60), L"C1");
  EXPECT_STREQ(GetPitchName(71), L"B1");
  EXPECT_STREQ(GetPitchName(72), L"C2");
  EXPECT_STREQ(GetPitchName(120), L"C6");
  EXPECT_STREQ(GetPitchName(127), L"G6");
}

TEST(MidiTypes, OutOfRangeNotesGiveEmptyNames) {
  ScopedAssertionRecord record;
  EXPECT_STREQ(GetPitchName(128), L"");
  EXPECT_EQ(record->line, 159);
  EXPECT_STREQ(record->file, "MidiTypes");
  record.Clear();
  EXPECT_STREQ(GetPitchName(-1), L"");
  EXPECT_STREQ(record->function, "GetPitchName");
  record.Clear();
  EXPECT_STREQ(GetPitchShortName(-3), L"");
  EXPECT_EQ(record->line, 166);
  record.Clear();
  EXPECT_STREQ(GetPitchShortName(-12), L"C");  // remainder 0 is fine
  EXPECT_FALSE(record.Raised());
  SetPitchNameStyle(7);
  EXPECT_TRUE(record.Raised());
  EXPECT_EQ(GetPitchNameStyle(), 0);
}

}  // namespace
