#pragma once

#include <string>

#include "wave/AudioChoice.h"

// Plays one reference tone on the program's own path: Synth_H renders it,
// the start-up adapters write it to a WaveOutEvent, and each buffer-done
// event of the device refills it, until the tone has played out. Live
// playback (`sink` live or JACK) runs on the real clock; a WAV file is
// written on the virtual clock, as fast as the machine allows and exactly as
// it would play. INT, TERM or HUP cut the tone short
// (platform::StopSignals::Caught() then tells which). Returns false with a
// message for the user when the device cannot be opened, went away while
// the tone played or played silence inside it (an underrun), or the file
// could not be written whole.
bool PlayTone(double note, const platform::wave::PlaybackSink &sink, std::string *error);
