#include "MidiTypes.h"

#include <cmath>

#include "general/CheckSites.h"

namespace {

PitchNameStyle::Value g_style = PitchNameStyle::kSharps;

const wchar_t *const kClassNames[3][12] = {
    {L"C", L"C#", L"D", L"D#", L"E", L"F", L"F#", L"G", L"G#", L"A", L"A#", L"B"},
    {L"C", L"Db", L"D", L"Eb", L"E", L"F", L"Gb", L"G", L"Ab", L"A", L"Bb", L"B"},
    {L"C", L"C#", L"D", L"Eb", L"E", L"F", L"F#", L"G", L"G#", L"A", L"Bb", L"B"},
};

// Every full name, built once: [style][note].
struct NameTable {
  wchar_t names[3][128][6];

  NameTable() {
    for (int style = 0; style < 3; ++style)
      for (int note = 0; note < 128; ++note) Compose(names[style][note], kClassNames[style][note % 12], note);
  }

  // There is no octave 0: notes below 60 count down from -1, from 60 up from 1.
  static void Compose(wchar_t *out, const wchar_t *pitchClass, int note) {
    const int label = note < 60 ? note / 12 - 5 : (note - 60) / 12 + 1;
    while (*pitchClass) *out++ = *pitchClass++;
    if (label < 0) *out++ = L'-';
    *out++ = static_cast<wchar_t>(L'0' + (label < 0 ? -label : label));
    *out = L'\0';
  }
};

const NameTable &Names() {
  static const NameTable table;
  return table;
}

}  // namespace

double NoteFromFrequency(double hertz, double reference) {
  return 69.0 + 12.0 * std::log(hertz / reference) / std::log(2.0);
}

double FrequencyFromNote(double note, double reference) {
  return reference * std::pow(2.0, (note - 69.0) * (1.0 / 12.0));
}

void SetPitchNameStyle(PitchNameStyle::Value style) {
  const bool known = style >= PitchNameStyle::kSharps && style <= PitchNameStyle::kMixed;
  if (!Check(known, CheckSites::kUnknownNameStyle)) return;
  g_style = style;
}

PitchNameStyle::Value GetPitchNameStyle() { return g_style; }

const wchar_t *GetPitchName(int note) {
  if (!Check(note >= 0 && note <= 127, CheckSites::kNoteOutOfRange)) return L"";
  return Names().names[g_style][note];
}

const wchar_t *GetPitchShortName(int note) {
  const int index = note % 12;
  if (!Check(index >= 0, CheckSites::kNegativePitchClass)) return L"";
  return kClassNames[g_style][index];
}
