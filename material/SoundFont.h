#pragma once

#include <string>
#include <vector>

#include "Rendered.h"
#include "Score.h"

namespace material {

// A General MIDI sound font of a Debian package, played by FluidSynth's
// command-line program (package fluidsynth): each string on a MIDI
// channel of its own, detuned by its pitch bend (range two semitones),
// reverb and chorus off; a muted string is the same note on the muted
// guitar (program 29), 80 ms long, on a channel of its own. Each string's
// lone sound is the score rendered with that string's notes only.
struct SoundFont {
  std::string name;     // "fluidr3", "musescore", "timgm6mb"
  std::string path;
  std::string package;  // the Debian package that installs it
};

// The sound fonts known, whether installed or not.
const std::vector<SoundFont> &SoundFonts();
const SoundFont *FindSoundFont(const std::string &name);
bool Installed(const SoundFont &font);

// General MIDI programs, counted from 1 as the standard lists them.
inline constexpr int kNylonGuitar = 25, kSteelGuitar = 26, kJazzGuitar = 27, kCleanGuitar = 28, kMutedGuitar = 29;
inline constexpr int kAcousticBass = 33, kFingerBass = 34, kPickBass = 35, kFretlessBass = 36;

// The score as a standard MIDI file (format 0), every pluck played by
// `program`, only those of `only` when it is 0 or more.
std::vector<unsigned char> MidiFile(const Score &score, int program, int only = -1);

// Renders the score; false, with *error set, when FluidSynth cannot be run
// or fails. `work` is a folder for the files passed to it.
bool RenderSoundFont(const SoundFont &font, int program, const Score &score, const std::string &work, Rendered *out,
                     std::string *error);

}  // namespace material
