// The capture calls of win/wave.h.
#include "wave/DeviceTable.h"
#include "wave/DriverFactory.h"
#include "wave/OpenFailure.h"
#include "wave/WaveCalls.h"

using namespace platform::wave;

// Every call below checks, in this order: a planned failure, its arguments,
// the handle, the state; a refused call changes nothing.

MMRESULT WINAPI waveInOpen(LPHWAVEIN device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                           DWORD_PTR, DWORD flags) {
  if (MMRESULT r = Injected("waveInOpen")) return OpenFailed(true, r, "");
  if (MMRESULT r = CheckOpen(device, deviceId, format, flags)) return r;
  DeviceTable &table = DeviceTable::Get();
  MMRESULT result = MMSYSERR_NOERROR;
  std::string error;
  std::unique_ptr<CaptureDriver> driver = MakeCaptureDriver(table.capture, &result, &error);
  if (!driver) return OpenFailed(true, result, error);
  HANDLE event = (flags & CALLBACK_TYPEMASK) == CALLBACK_EVENT ? reinterpret_cast<HANDLE>(callback) : nullptr;
  *device = table.Add<HWAVEIN>(table.in, std::make_unique<WaveInDevice>(event, std::move(driver)));
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveInPrepareHeader(HWAVEIN device, LPWAVEHDR header, UINT size) {
  if (MMRESULT r = Injected("waveInPrepareHeader")) return r;
  if (MMRESULT r = CheckHeader(header, size)) return r;
  if (!DeviceTable::Get().FindIn(device)) return MMSYSERR_INVALHANDLE;
  return Prepare(header);
}

MMRESULT WINAPI waveInUnprepareHeader(HWAVEIN device, LPWAVEHDR header, UINT size) {
  if (MMRESULT r = Injected("waveInUnprepareHeader")) return r;
  if (MMRESULT r = CheckHeader(header, size)) return r;
  if (!DeviceTable::Get().FindIn(device)) return MMSYSERR_INVALHANDLE;
  return Unprepare(header);
}

MMRESULT WINAPI waveInAddBuffer(HWAVEIN device, LPWAVEHDR header, UINT size) {
  if (MMRESULT r = Injected("waveInAddBuffer")) return r;
  if (MMRESULT r = CheckHeader(header, size)) return r;
  WaveInDevice *d = DeviceTable::Get().FindIn(device);
  if (!d) return MMSYSERR_INVALHANDLE;
  if (MMRESULT r = CheckQueueable(header)) return r;
  d->Add(header);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveInStart(HWAVEIN device) {
  if (MMRESULT r = Injected("waveInStart")) return r;
  WaveInDevice *d = DeviceTable::Get().FindIn(device);
  if (!d) return MMSYSERR_INVALHANDLE;
  d->Start();
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveInReset(HWAVEIN device) {
  if (MMRESULT r = Injected("waveInReset")) return r;
  WaveInDevice *d = DeviceTable::Get().FindIn(device);
  if (!d) return MMSYSERR_INVALHANDLE;
  d->Reset();
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveInClose(HWAVEIN device) {
  DeviceTable &table = DeviceTable::Get();
  WaveInDevice *d = table.FindIn(device);
  if (!d) return MMSYSERR_INVALHANDLE;
  if (d->Busy()) return WAVERR_STILLPLAYING;
  table.CloseIn(device);
  return MMSYSERR_NOERROR;
}
