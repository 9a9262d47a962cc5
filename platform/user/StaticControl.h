#pragma once

#include "user/WindowRecord.h"

namespace platform {

// The system's "STATIC" class, registered by each phone's window manager.
// Its windows draw their text
// in the system font on white, left-aligned or centred (SS_CENTER).
WindowClass StaticClass();

}  // namespace platform
