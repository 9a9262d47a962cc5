// Temperaments: the built-in scales, Scala files read or refused by line,
// and the targets the needle, the readings and the tones follow.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "TestOutput.h"
#include "measure/MidiTypes.h"
#include "measure/NoteTargets.h"
#include "measure/TemperamentChoice.h"

namespace {

using Measure::NoteTargets;
using Measure::ScalaScale;
using Measure::Temperament;

Temperament Named(const char *name, int root = 0) {
  ScalaScale scale;
  std::string why;
  EXPECT_TRUE(Measure::ParseTemperament(name, &scale, &why)) << why;
  return Temperament(scale, root);
}

// A scale file's reason for refusal.
std::string Refusal(const std::string &text) {
  ScalaScale scale;
  std::string why;
  EXPECT_FALSE(Measure::ReadScala(text, "bad.scl", &scale, &why)) << text;
  return why;
}

constexpr int kC = 0, kE = 4, kA = 9;

TEST(Temperament, TheBuiltInScalesPlaceTheirNotesAsPublished) {
  ASSERT_EQ(Measure::NamedTemperaments().size(), 5u);
  EXPECT_TRUE(Named("equal").IsEqual());
  EXPECT_TRUE(Named("EQUAL", kA).IsEqual()) << "any root, any case";
  for (int note = 0; note < 128; ++note) EXPECT_EQ(Named("equal").Cents(note), 0);
  // From the root C (middle C keeps its pitch): E a pure third 5/4, A 5/3.
  const Temperament just = Named("just");
  EXPECT_FALSE(just.IsEqual());
  EXPECT_EQ(just.Cents(60), 0);
  EXPECT_NEAR(just.Cents(64), 1200 * std::log2(5.0 / 4) - 400, 1e-9);
  EXPECT_NEAR(just.Cents(64), -13.686, 0.001);
  EXPECT_NEAR(just.Cents(69), -15.641, 0.001);
  EXPECT_NEAR(just.Cents(67), 1.955, 0.001);
  // Every octave alike, below middle C too.
  for (int note = 0; note < 116; ++note) EXPECT_NEAR(just.Cents(note), just.Cents(note + 12), 1e-9) << note;
  // From the root A: A is the reference, C# a pure third above it.
  const Temperament onA = Named("just", kA);
  EXPECT_EQ(onA.Cents(69), 0);
  EXPECT_NEAR(onA.Cents(73), -13.686, 0.001);
  EXPECT_NEAR(onA.Cents(45), 0, 1e-9);
  // The others' major thirds on C: Pythagorean 81/64, meantone pure,
  // Werckmeister III 390.225 cents; their fifths C-G.
  EXPECT_NEAR(Named("pythagorean").Cents(64), 7.820, 0.001);
  EXPECT_NEAR(Named("pythagorean").Cents(67), 1.955, 0.001);
  EXPECT_NEAR(Named("quarter-comma-meantone").Cents(64), -13.686, 0.001);
  EXPECT_NEAR(Named("quarter-comma-meantone").Cents(67), -3.422, 0.001);
  EXPECT_NEAR(Named("werckmeister-3").Cents(64), -9.775, 0.001);
  EXPECT_NEAR(Named("werckmeister-3").Cents(61), -9.775, 0.001);
  EXPECT_NEAR(Named("werckmeister-3", kE).Cents(64), 0, 1e-9);
}

TEST(Temperament, AScalaFileIsReadAsThePublishedFormatSaysAndItsRootMovesIt) {
  // Comments anywhere, text after values, CRLF, blank lines, a stretched
  // octave; cents and ratios and a whole number.
  const std::string path = OutputPath("stretched.scl");
  std::ofstream(path) << "! stretched.scl\r\n!\r\nJust, on a stretched octave\r\n 12  ! pitches\r\n!\r\n"
                         "16/15\r\n9/8 the second\r\n6/5\r\n\r\n 5/4\r\n4/3\r\n45/32\r\n3/2\r\n! fifth above\r\n"
                         "8/5\r\n5/3\r\n9/5\r\n15/8\r\n1202.0 stretched\r\n";
  ScalaScale scale;
  std::string why;
  ASSERT_TRUE(Measure::LoadScala(path, &scale, &why)) << why;
  EXPECT_EQ(scale.description, "Just, on a stretched octave");
  EXPECT_NEAR(scale.cents[3], 386.3137, 1e-4);
  EXPECT_EQ(scale.cents[11], 1202.0);
  // The stretch counts from the root of middle C's octave.
  const Temperament stretched(scale, kC);
  EXPECT_NEAR(stretched.Cents(64), -13.686, 0.001);
  EXPECT_NEAR(stretched.Cents(76), -13.686 + 2, 0.001);
  EXPECT_NEAR(stretched.Cents(40), -13.686 - 4, 0.001);
  // The same pitches named as the file holds them and through the option.
  ScalaScale again;
  ASSERT_TRUE(Measure::ParseTemperament(path, &again, &why)) << why;
  EXPECT_EQ(again.cents, scale.cents);
  int root = -1;
  for (const auto &[name, pitchClass] : std::initializer_list<std::pair<const char *, int>>{
           {"C", 0}, {"c#", 1}, {"Db", 1}, {"E\u266D", 3}, {"F\u266F", 6}, {"B", 11}, {"B#", 0}, {"Cb", 11}}) {
    ASSERT_TRUE(Measure::ParseTemperamentRoot(name, &root, &why)) << name;
    EXPECT_EQ(root, pitchClass) << name;
  }
  for (const char *bad : {"", "H", "C4", "C-", "C#4", "Cbb", "do"})
    EXPECT_FALSE(Measure::ParseTemperamentRoot(bad, &root, &why)) << bad;
}

TEST(Temperament, BadScalesAreRefusedWithTheirFileAndLine) {
  const std::string twelve = "16/15\n9/8\n6/5\n5/4\n4/3\n45/32\n3/2\n8/5\n5/3\n9/5\n15/8\n2/1\n";
  EXPECT_EQ(Refusal("! only comments\n").find("bad.scl: no description: a Scala file holds comment lines"), 0u);
  EXPECT_EQ(Refusal("desc\n").find("bad.scl: ends before the number of pitches"), 0u);
  EXPECT_EQ(Refusal("desc\ntwelve\n" + twelve).find("bad.scl line 2: 'twelve' is no number of pitches"), 0u);
  EXPECT_EQ(Refusal("! c\ndesc\n 19\n" + twelve),
            "bad.scl line 3: 19 pitches; the tuner names 12 notes to the octave and takes scales of 12 (11 and the "
            "octave)");
  EXPECT_EQ(Refusal("desc\n12\n16/15\n9/8\n"), "bad.scl: ends after 2 of its 12 pitches");
  EXPECT_EQ(Refusal("desc\n12\n16/15\n9/8\nsix/five\n"),
            "bad.scl line 5: 'six/five' is no pitch (cents with a '.', as 386.314, or a ratio, as 5/4 or 2)");
  for (const char *pitch : {"5/0", "0/4", "-5/4", "1.2.3", ".", "1e3", "5/4x"})
    EXPECT_EQ(Refusal(std::string("desc\n12\n16/15\n") + pitch + "\n").find("bad.scl line 4: '"), 0u) << pitch;
  EXPECT_EQ(Refusal("desc\n12\n16/15\n100.0\n"),
            "bad.scl line 4: 100.000 cents is not above the pitch before (111.731 cents): a scale's pitches rise "
            "from its root to its octave");
  EXPECT_EQ(Refusal("desc\n12\n1/1\n").find("bad.scl line 3: 0.000 cents is not above the pitch before (0.000"), 0u);
  EXPECT_EQ(Refusal("desc\n12\n100.\n200.\n300.\n400.\n500.\n600.\n700.\n800.\n900.\n1000.\n1050.\n1099.\n"),
            "bad.scl line 14: the last pitch, 1099.000 cents, is the octave the scale repeats at; it lies between "
            "1100 and 1300 cents (2/1 is 1200)");
  EXPECT_EQ(Refusal("desc\n12\n" + twelve + "! fine\n\n9/4\n"), "bad.scl line 17: more pitches than the 12 of bad.scl "
                                                                 "line 2");
  ScalaScale scale;
  std::string why;
  EXPECT_FALSE(Measure::LoadScala(OutputPath("none.scl"), &scale, &why));
  EXPECT_EQ(why, "cannot read " + OutputPath("none.scl") + ": No such file or directory");
  EXPECT_FALSE(Measure::ParseTemperament("/", &scale, &why));
  EXPECT_EQ(why, "cannot read /: Is a directory");
}

// Plain targets are the phone's rounding, whatever the pitch; a temperament
// or an offset moves the notes, and the nearest note follows.
TEST(NoteTargets, PlainTargetsAreThePhonesAndOthersMoveTheNotes) {
  const NoteTargets plain;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> pitches(0, 128);
  for (int i = 0; i < 100000; ++i) {
    const double p = i % 100 == 0 ? std::floor(pitches(random)) + 0.5 : pitches(random);
    ASSERT_EQ(plain.Nearest(p), static_cast<int>(std::floor(p + 0.5))) << p;
    ASSERT_EQ(plain.Target(plain.Nearest(p)), std::floor(p + 0.5));
  }
  EXPECT_EQ(plain.Nearest(std::nan("")), 0);
  EXPECT_EQ(plain.Nearest(1e12), 0);

  // A tone at 5/4 above C4 (327.03 Hz at A = 440): E4 in tune in just
  // intonation on C, 13.7 cents flat in equal temperament.
  const double e = NoteFromFrequency(FrequencyFromNote(60, 440) * 5 / 4, 440);
  Measure::Tuning standard;
  const NoteTargets just(Named("just"), standard);
  EXPECT_FALSE(just.Plain());
  EXPECT_EQ(just.Nearest(e), 64);
  EXPECT_NEAR(100 * (e - just.Target(64)), 0, 1e-9);
  EXPECT_NEAR(100 * (e - plain.Target(plain.Nearest(e))), -13.686, 0.001);
  EXPECT_NEAR(just.StringTarget(5), 64 - 0.13686, 1e-5) << "the high E string";
  EXPECT_NEAR(just.StringTarget(0), 40 - 0.13686, 1e-5) << "the low E string";
  // The nearest note changes halfway between two targets, which in just
  // intonation is not halfway between the numbers.
  const double between = (just.Target(64) + just.Target(65)) / 2;
  EXPECT_EQ(just.Nearest(between + 1e-9), 65);
  EXPECT_EQ(just.Nearest(between - 1e-9), 64);
  EXPECT_NEAR(between, 64.5 - (13.686 + 1.955) / 200, 0.0001);

  // Offsets move only their strings; in equal temperament too.
  Measure::Tuning sweet;
  sweet.offsets[4] = -1.5;
  const NoteTargets sweetened(Temperament(), sweet);
  EXPECT_FALSE(sweetened.Plain());
  EXPECT_DOUBLE_EQ(sweetened.Target(59), 58.985);
  EXPECT_DOUBLE_EQ(sweetened.StringTarget(4), 58.985);
  EXPECT_EQ(sweetened.Target(60), 60);
  EXPECT_EQ(sweetened.Nearest(58.99), 59);
  EXPECT_NEAR(100 * (58.99 - sweetened.Target(59)), 0.5, 1e-9);
  EXPECT_TRUE(NoteTargets(Temperament(), Measure::Tuning{}).Plain());
}

}  // namespace
