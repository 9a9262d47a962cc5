#pragma once

#include "win/wave.h"

namespace platform::wave {

// Checks shared by the capture and playback calls, in the order the calls
// apply them. Each returns MMSYSERR_NOERROR when the argument is fine.

// A planned failure of the named call (counted once per call).
MMRESULT Injected(const char *call);
// Open: flags, device id and format, before any device is touched.
MMRESULT CheckOpen(const void *device, UINT deviceId, const WAVEFORMATEX *format, DWORD flags);
MMRESULT CheckHeader(const WAVEHDR *header, UINT size);
// Prepare: a queued header is refused; a prepared one is left as it is.
MMRESULT Prepare(WAVEHDR *header);
MMRESULT Unprepare(WAVEHDR *header);
// Queueing: the header must be prepared and not queued already.
MMRESULT CheckQueueable(const WAVEHDR *header);

}  // namespace platform::wave
