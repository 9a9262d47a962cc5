#pragma once

#include <optional>
#include <string>
#include <string_view>

// Note names as a player writes them, in either of the two octave namings a
// Drovane user meets: scientific pitch notation (C4 = 60, E2 the low E
// string) and the tuner's own, which it prints everywhere (no octave 0:
// below middle C the octaves count down from -1, so the low E is E-2 and
// middle C is C1).
namespace Measure {

// A name as written: a letter A-G, at most one sharp ('#' or U+266F) or flat
// ('b' or U+266D), and an octave label, which may be negative ("Bb3",
// "e-2", "F♯2"). `pitchClass` is the letter's class plus the accidental,
// -1 (Cb) to 12 (B#).
struct WrittenNote {
  int pitchClass = 0;
  int octave = 0;
};

std::optional<WrittenNote> ReadNoteName(std::string_view text);

// Which namings an octave label fits within the notes a string may have:
// a negative one only the tuner's, 0 and 4 up only scientific, 1 to 3 both.
bool FitsTunerNaming(const WrittenNote &name);
bool FitsScientificNaming(const WrittenNote &name);

// The MIDI note of a name in each naming; the tuner's has no octave 0.
int ScientificNote(const WrittenNote &name);
int TunerNote(const WrittenNote &name);

// Names of a MIDI note in the tuner's mixed accidentals (C# Eb F# G# Bb):
// scientific, e.g. "E2", "Bb3", "C-1"; and the tuner's own, e.g. "E-2",
// "Bb-1", "C1".
std::string ScientificName(int note);
std::string TunerName(int note);

// "E2 (82.41 Hz)": the scientific name with its frequency at A = 440 Hz.
std::string NameWithHertz(int note);

}  // namespace Measure
