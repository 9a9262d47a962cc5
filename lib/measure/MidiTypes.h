#pragma once

// Note numbering and naming shared by the whole tuner. Notes are MIDI numbers
// with 69 tuned to the reference frequency (the A, 440 Hz by default); the
// fraction of a note number is the deviation from the tempered note.

// 69 + 12 × ln(f ÷ reference) ÷ ln 2. Hertz in, fractional note out.
double NoteFromFrequency(double hertz, double reference);

// reference × 2^((note − 69) × (1 ÷ 12)). Fractional note in, hertz out.
double FrequencyFromNote(double note, double reference);

// Accidental style of the names. Process-wide, sharps until someone changes
// it; a value outside the three is refused.
namespace PitchNameStyle {
enum Value : int { kSharps = 0, kFlats = 1, kMixed = 2 };  // mixed: C# Eb F# G# Bb
}
void SetPitchNameStyle(PitchNameStyle::Value style);
PitchNameStyle::Value GetPitchNameStyle();

// Full name of a note 0…127 in the current style, e.g. L"E-1", L"C#1", L"G6".
// Other notes record a failed check and give L"". The strings are constants.
const wchar_t *GetPitchName(int note);

// Pitch-class name of note mod 12 (remainder with the sign of the note), e.g.
// L"Bb"; a negative remainder records a failed check and gives L"".
const wchar_t *GetPitchShortName(int note);
