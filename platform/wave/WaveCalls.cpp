#include "wave/WaveCalls.h"

#include <string>

#include "base/SoundFormat.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "wave/DriverFactory.h"

namespace platform::wave {

namespace {

// A planned failure of the named call (counted once per call).
MMRESULT Injected(const char *call) {
  uintptr_t result = MMSYSERR_NOERROR;
  if (!InjectedFailure(call, &result)) return MMSYSERR_NOERROR;
  return static_cast<MMRESULT>(result);
}

// Flags, device id and format, before any device is touched.
MMRESULT CheckOpen(const uintptr_t *handle, UINT deviceId, const WAVEFORMATEX *format, DWORD flags) {
  if (!handle || !format) return MMSYSERR_INVALPARAM;
  if (flags & ~CALLBACK_TYPEMASK) return MMSYSERR_INVALFLAG;
  // Only what the program uses: an event, or no notification at all.
  const DWORD callback = flags & CALLBACK_TYPEMASK;
  if (callback != CALLBACK_NULL && callback != CALLBACK_EVENT) return MMSYSERR_NOTSUPPORTED;
  if (deviceId != 0) return MMSYSERR_BADDEVICEID;
  const bool ours = format->wFormatTag == WAVE_FORMAT_PCM && format->nChannels == 1 &&
                    format->nSamplesPerSec == drovane::kSampleRate &&
                    format->nAvgBytesPerSec == drovane::kBytesPerSecond &&
                    format->nBlockAlign == drovane::kBytesPerSample &&
                    format->wBitsPerSample == drovane::kBitsPerSample;
  return ours ? MMSYSERR_NOERROR : WAVERR_BADFORMAT;
}

MMRESULT CheckHeader(const WAVEHDR *header, UINT size) {
  if (!header || size < sizeof(WAVEHDR) || !header->lpData) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

std::unique_ptr<WaveDriver> MakeDriver(WaveAudio &wave, Direction direction, MMRESULT *result, std::string *error) {
  return direction == Direction::Capture ? MakeCaptureDriver(wave, result, error)
                                         : MakePlaybackDriver(wave, result, error);
}

// The checks every call shares up to the device's state; `arguments` is the
// result of checking the call's own arguments (the header calls').
MMRESULT FindDevice(const char *call, Direction direction, const void *handle, DeviceQueue **device,
                    MMRESULT arguments = MMSYSERR_NOERROR) {
  WaveAudio &wave = Phone::ForProgramThread(call).Wave();
  if (MMRESULT r = Injected(call)) return r;
  if (arguments) return arguments;
  *device = wave.devices.Find(direction, handle);
  return *device ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

}  // namespace

MMRESULT OpenDevice(const char *call, Direction direction, uintptr_t *handle, UINT deviceId,
                    const WAVEFORMATEX *format, DWORD_PTR callback, DWORD flags) {
  WaveAudio &wave = Phone::ForProgramThread(call).Wave();
  if (MMRESULT r = Injected(call)) return wave.failures.Failed(direction, r, "", wave.chosen);
  if (MMRESULT r = CheckOpen(handle, deviceId, format, flags)) return r;
  MMRESULT result = MMSYSERR_NOERROR;
  std::string error;
  std::unique_ptr<WaveDriver> driver = MakeDriver(wave, direction, &result, &error);
  if (!driver) return wave.failures.Failed(direction, result, error, wave.chosen);
  HANDLE event = (flags & CALLBACK_TYPEMASK) == CALLBACK_EVENT ? reinterpret_cast<HANDLE>(callback) : nullptr;
  *handle = wave.devices.Add(std::make_unique<DeviceQueue>(direction, event, std::move(driver)));
  return MMSYSERR_NOERROR;
}

MMRESULT PrepareHeader(const char *call, Direction direction, const void *handle, WAVEHDR *header, UINT size) {
  DeviceQueue *device = nullptr;
  if (MMRESULT r = FindDevice(call, direction, handle, &device, CheckHeader(header, size))) return r;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT UnprepareHeader(const char *call, Direction direction, const void *handle, WAVEHDR *header, UINT size) {
  DeviceQueue *device = nullptr;
  if (MMRESULT r = FindDevice(call, direction, handle, &device, CheckHeader(header, size))) return r;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT AddBuffer(const char *call, Direction direction, const void *handle, WAVEHDR *header, UINT size) {
  DeviceQueue *device = nullptr;
  if (MMRESULT r = FindDevice(call, direction, handle, &device, CheckHeader(header, size))) return r;
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  device->Add(header);
  return MMSYSERR_NOERROR;
}

MMRESULT StartDevice(const char *call, Direction direction, const void *handle) {
  DeviceQueue *device = nullptr;
  if (MMRESULT r = FindDevice(call, direction, handle, &device)) return r;
  device->Start();
  return MMSYSERR_NOERROR;
}

MMRESULT ResetDevice(const char *call, Direction direction, const void *handle) {
  DeviceQueue *device = nullptr;
  if (MMRESULT r = FindDevice(call, direction, handle, &device)) return r;
  device->Reset();
  return MMSYSERR_NOERROR;
}

MMRESULT CloseDevice(const char *call, Direction direction, const void *handle) {
  DeviceQueue *device = nullptr;
  if (MMRESULT r = FindDevice(call, direction, handle, &device)) return r;
  if (device->Busy()) return WAVERR_STILLPLAYING;
  Phone::ForProgramThread(call).Wave().devices.Close(handle);
  return MMSYSERR_NOERROR;
}

}  // namespace platform::wave
