#pragma once

#include <dlfcn.h>

#include <string>

namespace platform::wave {

// libSDL2, for the live audio calls (SdlLoader) and the device's window
// presenter. Opened with dlopen and never closed: a close of an audio
// device that did not end in time may still be running inside it, and SDL
// keeps process-wide state. Opening it again is cheap (the loader counts).
// Null, with the loader's reason in `error`, when SDL2 cannot be loaded.
void *OpenSdlLibrary(std::string *error);

// One of its calls by name; false when it lacks it.
template <class F>
bool ResolveSdl(void *library, const char *name, F *function) {
  *function = reinterpret_cast<F>(dlsym(library, name));
  return *function != nullptr;
}

}  // namespace platform::wave
