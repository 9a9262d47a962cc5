#include "wave/WaveCalls.h"

#include "kernel/Platform.h"
#include "wave/SampleClock.h"

namespace platform::wave {

MMRESULT Injected(const char *call) {
  uintptr_t result = MMSYSERR_NOERROR;
  if (!InjectedFailure(call, &result)) return MMSYSERR_NOERROR;
  return static_cast<MMRESULT>(result);
}

MMRESULT CheckOpen(const void *device, UINT deviceId, const WAVEFORMATEX *format, DWORD flags) {
  if (!device || !format) return MMSYSERR_INVALPARAM;
  if (flags & ~CALLBACK_TYPEMASK) return MMSYSERR_INVALFLAG;
  // Only what the program uses: an event, or no notification at all.
  const DWORD callback = flags & CALLBACK_TYPEMASK;
  if (callback != CALLBACK_NULL && callback != CALLBACK_EVENT) return MMSYSERR_NOTSUPPORTED;
  if (deviceId != 0) return MMSYSERR_BADDEVICEID;
  const bool ours = format->wFormatTag == WAVE_FORMAT_PCM && format->nChannels == 1 &&
                    format->nSamplesPerSec == kRate && format->nAvgBytesPerSec == 2 * kRate &&
                    format->nBlockAlign == 2 && format->wBitsPerSample == 16;
  return ours ? MMSYSERR_NOERROR : WAVERR_BADFORMAT;
}

MMRESULT CheckHeader(const WAVEHDR *header, UINT size) {
  if (!header || size < sizeof(WAVEHDR) || !header->lpData) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

MMRESULT Prepare(WAVEHDR *header) {
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT Unprepare(WAVEHDR *header) {
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT CheckQueueable(const WAVEHDR *header) {
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  return MMSYSERR_NOERROR;
}

}  // namespace platform::wave
