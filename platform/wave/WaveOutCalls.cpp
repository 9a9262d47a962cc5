// The playback calls of win/wave.h.
#include "wave/DeviceTable.h"
#include "wave/DriverFactory.h"
#include "wave/OpenFailure.h"
#include "wave/WaveCalls.h"

using namespace platform::wave;

// Every call below checks, in this order: a planned failure, its arguments,
// the handle, the state; a refused call changes nothing.

MMRESULT WINAPI waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                            DWORD_PTR, DWORD flags) {
  if (MMRESULT r = Injected("waveOutOpen")) return OpenFailed(false, r, "");
  if (MMRESULT r = CheckOpen(device, deviceId, format, flags)) return r;
  DeviceTable &table = DeviceTable::Get();
  MMRESULT result = MMSYSERR_NOERROR;
  std::string error;
  std::unique_ptr<PlaybackDriver> driver = MakePlaybackDriver(table.playback, &result, &error);
  if (!driver) return OpenFailed(false, result, error);
  HANDLE event = (flags & CALLBACK_TYPEMASK) == CALLBACK_EVENT ? reinterpret_cast<HANDLE>(callback) : nullptr;
  *device = table.Add<HWAVEOUT>(table.out, std::make_unique<WaveOutDevice>(event, std::move(driver)));
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  if (MMRESULT r = Injected("waveOutPrepareHeader")) return r;
  if (MMRESULT r = CheckHeader(header, size)) return r;
  if (!DeviceTable::Get().FindOut(device)) return MMSYSERR_INVALHANDLE;
  return Prepare(header);
}

MMRESULT WINAPI waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  if (MMRESULT r = Injected("waveOutUnprepareHeader")) return r;
  if (MMRESULT r = CheckHeader(header, size)) return r;
  if (!DeviceTable::Get().FindOut(device)) return MMSYSERR_INVALHANDLE;
  return Unprepare(header);
}

MMRESULT WINAPI waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  if (MMRESULT r = Injected("waveOutWrite")) return r;
  if (MMRESULT r = CheckHeader(header, size)) return r;
  WaveOutDevice *d = DeviceTable::Get().FindOut(device);
  if (!d) return MMSYSERR_INVALHANDLE;
  if (MMRESULT r = CheckQueueable(header)) return r;
  d->Write(header);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveOutReset(HWAVEOUT device) {
  if (MMRESULT r = Injected("waveOutReset")) return r;
  WaveOutDevice *d = DeviceTable::Get().FindOut(device);
  if (!d) return MMSYSERR_INVALHANDLE;
  d->Reset();
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveOutClose(HWAVEOUT device) {
  DeviceTable &table = DeviceTable::Get();
  WaveOutDevice *d = table.FindOut(device);
  if (!d) return MMSYSERR_INVALHANDLE;
  if (d->Busy()) return WAVERR_STILLPLAYING;
  table.CloseOut(device);
  return MMSYSERR_NOERROR;
}
