#include "wave/SdlLibrary.h"

namespace platform::wave {

void *OpenSdlLibrary(std::string *error) {
  void *library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!library) *error = dlerror();
  return library;
}

}  // namespace platform::wave
