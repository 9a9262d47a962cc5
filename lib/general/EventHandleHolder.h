#pragma once

#include "TSmartHandle.h"
#include "win/kernel.h"

// The counted owner of an event handle, closed with CloseHandle when the last
// owner lets go (a device and the event loop share one).
using EventHandleHolder = TSmartHandle<HANDLE, BOOL (*)(HANDLE), &CloseHandle>;
