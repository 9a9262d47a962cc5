#pragma once

#include <string>
#include <vector>

#include <SDL2/SDL.h>

#include "win/wave.h"

namespace platform::wave {

// SDL's audio devices (PulseAudio, PipeWire or ALSA, whichever SDL finds;
// SDL itself is loaded on first use, see SdlLibrary). Program thread.

// The device named `name` as ListSdlAudio gives it (empty: the system's
// default), opened for 16-bit mono at 22050 samples/s (SDL converts) and
// paused. `callback` then runs on SDL's audio thread with `user`. On failure
// returns 0 with the Win32 result (MMSYSERR_NODRIVER: no audio system;
// MMSYSERR_BADDEVICEID: no such device) and a message for the user in `error`.
SDL_AudioDeviceID OpenSdlAudio(bool capture, const std::string &name, SDL_AudioCallback callback, void *user,
                               MMRESULT *result, std::string *error);
// Pauses or resumes it. When a pause returns, the callback is not running
// and does not run again until resumed.
void PauseSdlAudio(SDL_AudioDeviceID device, bool paused);
// Pauses it, then closes it, waiting at most two seconds: SDL's close joins
// its audio thread, which can wait for ever on a sound server that stopped
// answering. A close that does not end in time is reported on stderr and left
// to end on its own (or with the process). Either way, when this returns the
// callback is not running and never runs again.
void CloseSdlAudio(SDL_AudioDeviceID device, bool capture);
// The names of the capture (or playback) devices SDL sees; empty, with the
// reason in `error`, when there is no audio system.
std::vector<std::string> ListSdlAudio(bool capture, std::string *error);

}  // namespace platform::wave
