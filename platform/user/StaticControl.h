#pragma once

namespace platform {

// Registers the system's "STATIC" class (after every platform reset, which
// forgets classes). Its windows draw their text in the system font on white,
// left-aligned or centred (SS_CENTER).
void RegisterStaticClass();

}  // namespace platform
