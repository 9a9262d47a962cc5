#include <gtest/gtest.h>

#include "general/AssertionRecord.h"
#include "general/CheckRecord.h"
#include "measure/MidiTypes.h"

namespace {

TEST(MidiTypes, NotesAndFrequencies) {
  EXPECT_NEAR(NoteFromFrequency(82.4069, 440), 40, 1e-4);
  EXPECT_NEAR(FrequencyFromNote(45, 440), 110, 1e-12);
  EXPECT_NEAR(NoteFromFrequency(440, 442), 68.9215, 1e-4);
  for (double n : {28.3, 40.0, 69.5, 100.01}) EXPECT_NEAR(NoteFromFrequency(FrequencyFromNote(n, 431), 431), n, 1e-12);
}

// Octave labels are n div 12 − 5, with no 0: the strings are "E-2" … "E1".
TEST(MidiTypes, NamesInEveryStyleUpToTheRangeEnds) {
  const struct {
    int style, note;
    const wchar_t *name;
  } cases[] = {{2, 40, L"E-2"}, {2, 45, L"A-2"}, {2, 50, L"D-1"}, {2, 55, L"G-1"}, {2, 59, L"B-1"},
               {2, 64, L"E1"},  {2, 61, L"C#1"}, {2, 70, L"Bb1"}, {2, 63, L"Eb1"}, {1, 58, L"Bb-1"},
               {1, 1, L"Db-5"}, {1, 61, L"Db1"}, {0, 58, L"A#-1"}, {0, 0, L"C-5"},  {0, 11, L"B-5"},
               {0, 12, L"C-4"}, {0, 59, L"B-1"}, {0, 60, L"C1"},  {0, 72, L"C2"},  {0, 127, L"G6"}};
  const int saved = GetPitchNameStyle();
  for (const auto &c : cases) {
    SetPitchNameStyle(c.style);
    EXPECT_STREQ(GetPitchName(c.note), c.name) << "style " << c.style << " note " << c.note;
  }
  SetPitchNameStyle(2);
  EXPECT_STREQ(GetPitchShortName(130), L"Bb");
  SetPitchNameStyle(saved);
}

TEST(MidiTypes, OutOfRangeNotesGiveEmptyNames) {
  ScopedAssertionRecord record;
  EXPECT_STREQ(GetPitchName(128), L"");
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kNoteOutOfRange));
  record.Clear();
  EXPECT_STREQ(GetPitchName(-1), L"");
  EXPECT_STREQ(record->function, "GetPitchName");
  EXPECT_STREQ(GetPitchShortName(-3), L"");
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kNegativePitchClass));
  record.Clear();
  EXPECT_STREQ(GetPitchShortName(-12), L"C");  // remainder 0 is fine
  EXPECT_FALSE(record.Raised());
  SetPitchNameStyle(7);
  EXPECT_TRUE(record.Raised());
  EXPECT_EQ(GetPitchNameStyle(), 0);
}

}  // namespace
