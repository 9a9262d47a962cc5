#pragma once

#include <cstdint>

#include "wave/DeviceQueue.h"
#include "win/wave.h"

namespace platform::wave {

// The wave calls of either direction; waveInX and waveOutX are thin entries
// to X, which they pass their own name (for planned failures) and direction.
// Each checks, in this order: a planned failure of that call, its arguments,
// the handle (an open device of that direction), the state; a refused call
// returns its Win32 error and changes nothing. Program thread only.

// On success stores the new device's handle in `*handle`; a null `handle`
// stands for the caller's null out pointer.
MMRESULT OpenDevice(const char *call, Direction direction, uintptr_t *handle, UINT deviceId,
                    const WAVEFORMATEX *format, DWORD_PTR callback, DWORD flags);
// A queued header is refused; a prepared one is left as it is.
MMRESULT PrepareHeader(const char *call, Direction direction, const void *handle, WAVEHDR *header, UINT size);
MMRESULT UnprepareHeader(const char *call, Direction direction, const void *handle, WAVEHDR *header, UINT size);
// waveInAddBuffer, waveOutWrite: the header must be prepared and not queued.
MMRESULT AddBuffer(const char *call, Direction direction, const void *handle, WAVEHDR *header, UINT size);
MMRESULT StartDevice(const char *call, Direction direction, const void *handle);
MMRESULT ResetDevice(const char *call, Direction direction, const void *handle);
// Refused while buffers are queued.
MMRESULT CloseDevice(const char *call, Direction direction, const void *handle);

}  // namespace platform::wave
