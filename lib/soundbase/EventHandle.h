#pragma once

#include "general/TSmartHandle.h"
#include "win/kernel.h"

// The counted owner of an event handle, closed with CloseHandle when its last
// holder goes. Devices share theirs with the event loop.
using EventHandle = TSmartHandle<HANDLE, decltype(&CloseHandle), CloseHandle>;
