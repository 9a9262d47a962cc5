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
  constexpr auto S = PitchNameStyle::kSharps, F = PitchNameStyle::kFlats, M = PitchNameStyle::kMixed;
  const struct {
    PitchNameStyle::Value style;
    int note;
    const wchar_t *name;
  } cases[] = {{M, 40, L"E-2"}, {M, 45, L"A-2"}, {M, 50, L"D-1"},  {M, 55, L"G-1"}, {M, 59, L"B-1"},
               {M, 64, L"E1"},  {M, 61, L"C#1"}, {M, 70, L"Bb1"},  {M, 63, L"Eb1"}, {F, 58, L"Bb-1"},
               {F, 1, L"Db-5"}, {F, 61, L"Db1"}, {S, 58, L"A#-1"}, {S, 0, L"C-5"},  {S, 11, L"B-5"},
               {S, 12, L"C-4"}, {S, 59, L"B-1"}, {S, 60, L"C1"},   {S, 72, L"C2"},  {S, 127, L"G6"}};
  const PitchNameStyle::Value saved = GetPitchNameStyle();
  for (const auto &c : cases) {
    SetPitchNameStyle(c.style);
    EXPECT_STREQ(GetPitchName(c.note), c.name) << "style " << c.style << " note " << c.note;
  }
  SetPitchNameStyle(PitchNameStyle::kMixed);
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
  SetPitchNameStyle(static_cast<PitchNameStyle::Value>(7));
  EXPECT_TRUE(record.Raised());
  EXPECT_EQ(GetPitchNameStyle(), PitchNameStyle::kSharps);
}

}  // namespace
