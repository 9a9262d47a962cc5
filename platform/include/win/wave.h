#pragma once

// The phone's wave-audio calls, with their Win32 names, types and values.
// Device 0 is the only device; notification is by event (CALLBACK_EVENT: the
// event is set each time a buffer is done) or none. Calls belong to the
// program thread (another thread's call stops the program, see win/user.h).
// A call with a bad handle, bad arguments or in the wrong
// state returns its Win32 error and changes nothing.
#include "win/types.h"

#ifndef WINAPI
#define WINAPI
#endif

typedef char *LPSTR;
typedef uintptr_t DWORD_PTR;

#define WAVE_FORMAT_PCM 1

// 18 bytes, packed as on the phone, so the record can be copied as a block.
#pragma pack(push, 1)
typedef struct tWAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
} WAVEFORMATEX;
#pragma pack(pop)
typedef WAVEFORMATEX *LPWAVEFORMATEX;
typedef const WAVEFORMATEX *LPCWAVEFORMATEX;

typedef struct wavehdr_tag {
  LPSTR lpData;
  DWORD dwBufferLength;
  DWORD dwBytesRecorded;
  DWORD_PTR dwUser;
  DWORD dwFlags;
  DWORD dwLoops;
  struct wavehdr_tag *lpNext;
  DWORD_PTR reserved;
} WAVEHDR;
typedef WAVEHDR *LPWAVEHDR;
typedef HWAVEIN *LPHWAVEIN;
typedef HWAVEOUT *LPHWAVEOUT;

// WAVEHDR.dwFlags
#define WHDR_DONE 0x00000001u
#define WHDR_PREPARED 0x00000002u
#define WHDR_INQUEUE 0x00000010u

// Results
#define MMSYSERR_NOERROR 0u
#define MMSYSERR_ERROR 1u
#define MMSYSERR_BADDEVICEID 2u
#define MMSYSERR_ALLOCATED 4u
#define MMSYSERR_INVALHANDLE 5u
#define MMSYSERR_NODRIVER 6u
#define MMSYSERR_NOMEM 7u
#define MMSYSERR_NOTSUPPORTED 8u
#define MMSYSERR_INVALFLAG 10u
#define MMSYSERR_INVALPARAM 11u
#define WAVERR_BADFORMAT 32u
#define WAVERR_STILLPLAYING 33u
#define WAVERR_UNPREPARED 34u

// Open flags: how the device reports finished buffers.
#define CALLBACK_TYPEMASK 0x00070000u
#define CALLBACK_NULL 0x00000000u
#define CALLBACK_WINDOW 0x00010000u
#define CALLBACK_EVENT 0x00050000u

// The calls of both directions, side by side. Capture records from
// waveInStart until a reset; playback plays whatever is written, from its
// first write on.

// Opens device 0; the format must be 16-bit mono PCM at 22050 samples per
// second.
MMRESULT WINAPI waveInOpen(LPHWAVEIN device, UINT deviceId, LPCWAVEFORMATEX format,
                           DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
MMRESULT WINAPI waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format,
                            DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
// A buffer is prepared before it is queued, and unprepared once done.
MMRESULT WINAPI waveInPrepareHeader(HWAVEIN device, LPWAVEHDR header, UINT headerSize);
MMRESULT WINAPI waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);
MMRESULT WINAPI waveInUnprepareHeader(HWAVEIN device, LPWAVEHDR header, UINT headerSize);
MMRESULT WINAPI waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);
// Queues a buffer to record into, or to play.
MMRESULT WINAPI waveInAddBuffer(HWAVEIN device, LPWAVEHDR header, UINT headerSize);
MMRESULT WINAPI waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);
// Recording begins; a playback device needs no start.
MMRESULT WINAPI waveInStart(HWAVEIN device);
// Stops recording or playing and returns every queued buffer as done.
MMRESULT WINAPI waveInReset(HWAVEIN device);
MMRESULT WINAPI waveOutReset(HWAVEOUT device);
// Refused with WAVERR_STILLPLAYING while buffers are queued.
MMRESULT WINAPI waveInClose(HWAVEIN device);
MMRESULT WINAPI waveOutClose(HWAVEOUT device);
