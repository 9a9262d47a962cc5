// The calls of win/wave.h: each passes its own name and direction to the
// direction-neutral call of WaveCalls.h that does the work.
#include "wave/WaveCalls.h"

using namespace platform::wave;

namespace {

constexpr Direction kIn = Direction::Capture;
constexpr Direction kOut = Direction::Playback;

template <class Handle>
MMRESULT Open(const char *call, Direction direction, Handle *device, UINT deviceId, LPCWAVEFORMATEX format,
              DWORD_PTR callback, DWORD flags) {
  uintptr_t opened = 0;
  const MMRESULT r = OpenDevice(call, direction, device ? &opened : nullptr, deviceId, format, callback, flags);
  if (r == MMSYSERR_NOERROR) *device = reinterpret_cast<Handle>(opened);
  return r;
}

}  // namespace

MMRESULT WINAPI waveInOpen(LPHWAVEIN device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                           DWORD_PTR, DWORD flags) {
  return Open(__func__, kIn, device, deviceId, format, callback, flags);
}
MMRESULT WINAPI waveInPrepareHeader(HWAVEIN device, LPWAVEHDR header, UINT size) {
  return PrepareHeader(__func__, kIn, device, header, size);
}
MMRESULT WINAPI waveInUnprepareHeader(HWAVEIN device, LPWAVEHDR header, UINT size) {
  return UnprepareHeader(__func__, kIn, device, header, size);
}
MMRESULT WINAPI waveInAddBuffer(HWAVEIN device, LPWAVEHDR header, UINT size) {
  return AddBuffer(__func__, kIn, device, header, size);
}
MMRESULT WINAPI waveInStart(HWAVEIN device) { return StartDevice(__func__, kIn, device); }
MMRESULT WINAPI waveInReset(HWAVEIN device) { return ResetDevice(__func__, kIn, device); }
MMRESULT WINAPI waveInClose(HWAVEIN device) { return CloseDevice(__func__, kIn, device); }

MMRESULT WINAPI waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                            DWORD_PTR, DWORD flags) {
  return Open(__func__, kOut, device, deviceId, format, callback, flags);
}
MMRESULT WINAPI waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  return PrepareHeader(__func__, kOut, device, header, size);
}
MMRESULT WINAPI waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  return UnprepareHeader(__func__, kOut, device, header, size);
}
MMRESULT WINAPI waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  return AddBuffer(__func__, kOut, device, header, size);
}
MMRESULT WINAPI waveOutReset(HWAVEOUT device) { return ResetDevice(__func__, kOut, device); }
MMRESULT WINAPI waveOutClose(HWAVEOUT device) { return CloseDevice(__func__, kOut, device); }
