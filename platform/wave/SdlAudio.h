#pragma once

#include <string>

#include <SDL2/SDL.h>

#include "win/wave.h"

namespace platform::wave {

// SDL's audio device (PulseAudio, PipeWire or ALSA, whichever SDL finds; SDL
// itself is loaded on the first open, see SdlLibrary), opened for 16-bit
// mono at 22050 samples/s (SDL converts) and paused. On
// failure returns 0 with the Win32 result (MMSYSERR_NODRIVER: no audio system;
// MMSYSERR_BADDEVICEID: no device) and a message for the user in `error`.
SDL_AudioDeviceID OpenSdlAudio(bool capture, SDL_AudioCallback callback, void *user, MMRESULT *result,
                               std::string *error);
// Pauses or resumes it.
void PauseSdlAudio(SDL_AudioDeviceID device, bool paused);
// Closes it; when this returns, the callback is not running and never runs again.
void CloseSdlAudio(SDL_AudioDeviceID device);

}  // namespace platform::wave
