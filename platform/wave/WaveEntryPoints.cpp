// The calls of win/wave.h, both directions of each side by side: each passes
// its own name and direction to the direction-neutral call of WaveCalls.h
// that does the work.
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
MMRESULT WINAPI waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                            DWORD_PTR, DWORD flags) {
  return Open(__func__, kOut, device, deviceId, format, callback, flags);
}
MMRESULT WINAPI waveInPrepareHeader(HWAVEIN d, LPWAVEHDR h, UINT size) {
  return PrepareHeader(__func__, kIn, d, h, size);
}
MMRESULT WINAPI waveOutPrepareHeader(HWAVEOUT d, LPWAVEHDR h, UINT size) {
  return PrepareHeader(__func__, kOut, d, h, size);
}
MMRESULT WINAPI waveInUnprepareHeader(HWAVEIN d, LPWAVEHDR h, UINT size) {
  return UnprepareHeader(__func__, kIn, d, h, size);
}
MMRESULT WINAPI waveOutUnprepareHeader(HWAVEOUT d, LPWAVEHDR h, UINT size) {
  return UnprepareHeader(__func__, kOut, d, h, size);
}
MMRESULT WINAPI waveInAddBuffer(HWAVEIN d, LPWAVEHDR h, UINT size) { return AddBuffer(__func__, kIn, d, h, size); }
MMRESULT WINAPI waveOutWrite(HWAVEOUT d, LPWAVEHDR h, UINT size) { return AddBuffer(__func__, kOut, d, h, size); }
MMRESULT WINAPI waveInStart(HWAVEIN device) { return StartDevice(__func__, kIn, device); }
MMRESULT WINAPI waveInReset(HWAVEIN device) { return ResetDevice(__func__, kIn, device); }
MMRESULT WINAPI waveOutReset(HWAVEOUT device) { return ResetDevice(__func__, kOut, device); }
MMRESULT WINAPI waveInClose(HWAVEIN device) { return CloseDevice(__func__, kIn, device); }
MMRESULT WINAPI waveOutClose(HWAVEOUT device) { return CloseDevice(__func__, kOut, device); }
