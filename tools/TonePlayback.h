#pragma once

#include <string>

// Plays one reference tone on the program's own path: Synth_H renders it,
// the start-up adapters write it to a WaveOutEvent, and each buffer-done
// event of the device refills it, until the tone has played out. Live
// playback runs on the real clock; a WAV file is written on the virtual
// clock, as fast as the machine allows and exactly as it would play.
// INT, TERM or HUP cut the tone short (platform::StopSignals::Caught() then
// tells which). Returns false with a message for the user when the device
// cannot be opened or the file could not be written whole.
bool PlayTone(double note, const std::string &wavFile, std::string *error);
