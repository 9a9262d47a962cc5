// The wave calls' Win32 results, flags and pacing.
#include <functional>

#include "WaveTestSupport.h"

namespace {

using Calls = WavePlatform;

TEST_F(Calls, OpenRefusesWhatTheDeviceCannotDo) {
  HWAVEIN in = nullptr;
  const DWORD_PTR ev = reinterpret_cast<DWORD_PTR>(event);
  EXPECT_EQ(waveInOpen(nullptr, 0, &format, ev, 0, CALLBACK_EVENT), MMSYSERR_INVALPARAM);
  EXPECT_EQ(waveInOpen(&in, 0, nullptr, ev, 0, CALLBACK_EVENT), MMSYSERR_INVALPARAM);
  EXPECT_EQ(waveInOpen(&in, 0, &format, ev, 0, CALLBACK_EVENT | 0x8), MMSYSERR_INVALFLAG);
  EXPECT_EQ(waveInOpen(&in, 0, &format, 1, 0, CALLBACK_WINDOW), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(waveInOpen(&in, 1, &format, ev, 0, CALLBACK_EVENT), MMSYSERR_BADDEVICEID);
  WAVEFORMATEX stereo = format;
  stereo.nChannels = 2;
  EXPECT_EQ(waveInOpen(&in, 0, &stereo, ev, 0, CALLBACK_EVENT), WAVERR_BADFORMAT);
  HWAVEOUT out = nullptr;
  WAVEFORMATEX fast = format;
  fast.nSamplesPerSec = 44100;
  EXPECT_EQ(waveOutOpen(&out, 0, &fast, ev, 0, CALLBACK_EVENT), WAVERR_BADFORMAT);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
}

TEST_F(Calls, BuffersNeedPreparingAndAreQueuedOnlyOnce) {
  HWAVEIN in = nullptr;
  ASSERT_EQ(waveInOpen(&in, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  std::vector<short> memory(2205);
  WAVEHDR h = Header(memory);
  EXPECT_EQ(waveInAddBuffer(in, &h, sizeof h), WAVERR_UNPREPARED);
  EXPECT_EQ(waveInPrepareHeader(in, &h, sizeof h - 1), MMSYSERR_INVALPARAM);
  EXPECT_EQ(waveInPrepareHeader(nullptr, &h, sizeof h), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(h.dwFlags, 0u) << "refused calls change nothing";
  EXPECT_EQ(waveInPrepareHeader(in, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(h.dwFlags, WHDR_PREPARED);
  EXPECT_EQ(waveInAddBuffer(in, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(h.dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
  EXPECT_EQ(waveInAddBuffer(in, &h, sizeof h), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveInPrepareHeader(in, &h, sizeof h), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveInUnprepareHeader(in, &h, sizeof h), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveInClose(in), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  EXPECT_EQ(h.dwFlags, WHDR_PREPARED | WHDR_DONE);
  EXPECT_EQ(h.dwBytesRecorded, 0u) << "never started: nothing recorded";
  EXPECT_EQ(waveInUnprepareHeader(in, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(h.dwFlags, WHDR_DONE);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInClose(in), MMSYSERR_INVALHANDLE) << "a closed handle stays invalid";
  EXPECT_EQ(waveInStart(in), MMSYSERR_INVALHANDLE);
}

TEST_F(Calls, CaptureIsPacedExactlyAndResetReturnsWhatWasHeard) {
  platform::wave::CaptureSource tone;
  tone.kind = platform::wave::CaptureSource::Kind::Tone;
  tone.toneHz = 551.25;  // a period of 40 samples
  tone.toneAmplitude = 1.0;
  platform::wave::SelectCapture(tone);
  HWAVEIN in = nullptr;
  ASSERT_EQ(waveInOpen(&in, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  std::vector<short> a(1000), b(1000);
  WAVEHDR ha = Header(a), hb = Header(b);
  for (WAVEHDR *h : {&ha, &hb}) {
    waveInPrepareHeader(in, h, sizeof *h);
    waveInAddBuffer(in, h, sizeof *h);
  }
  Pass(500);
  EXPECT_EQ(ha.dwFlags & WHDR_DONE, 0u) << "nothing is recorded before the start";
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  ASSERT_EQ(MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(NowNs(), 500000000 + 45351474);  // 1000 / 22050 s, rounded up
  EXPECT_EQ(ha.dwBytesRecorded, 2000u);
  EXPECT_EQ(a[0], 0);
  EXPECT_EQ(a[10], 32767) << "a quarter period";
  Pass(20);  // 441 more samples are heard
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  EXPECT_EQ(hb.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
  EXPECT_EQ(hb.dwBytesRecorded, 2 * 441u);
  EXPECT_EQ(b[10], 32767) << "the tone continues where the first buffer ended";
  EXPECT_EQ(b[30], -32767);
  waveInUnprepareHeader(in, &ha, sizeof ha);
  waveInUnprepareHeader(in, &hb, sizeof hb);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

TEST_F(Calls, InjectedFaultFailsTheNthCallAndChangesNothing) {
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  std::vector<short> m1(100), m2(100);
  WAVEHDR h1 = Header(m1), h2 = Header(m2);
  waveOutPrepareHeader(out, &h1, sizeof h1);
  waveOutPrepareHeader(out, &h2, sizeof h2);
  platform::FailCall("waveOutWrite", 2, MMSYSERR_NOMEM);
  EXPECT_EQ(waveOutWrite(out, &h1, sizeof h1), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutWrite(out, &h2, sizeof h2), MMSYSERR_NOMEM);
  EXPECT_EQ(h2.dwFlags, WHDR_PREPARED);
  EXPECT_EQ(waveOutWrite(out, &h2, sizeof h2), MMSYSERR_NOERROR) << "only the planned call fails";
  ASSERT_EQ(MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(h1.dwFlags, WHDR_PREPARED | WHDR_DONE);
  EXPECT_EQ(h2.dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
  ASSERT_EQ(MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(NowNs(), 9070295) << "200 samples back to back";
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
}

// Every call can be planned to fail: it gives the planned result and changes
// nothing, and the same call then works. A handle answers only the calls of
// its own direction, and playback leaves dwBytesRecorded alone.
TEST_F(Calls, EveryCallCanFailAsPlannedAndHandlesKeepToTheirDirection) {
  HWAVEIN in = nullptr;
  HWAVEOUT out = nullptr;
  std::vector<short> mi(100), mo(100);
  WAVEHDR hi = Header(mi), ho = Header(mo);
  ho.dwBytesRecorded = 7;
  const DWORD_PTR ev = reinterpret_cast<DWORD_PTR>(event);
  const struct {
    const char *call;
    std::function<MMRESULT()> run;
  } steps[] = {
      {"waveInOpen", [&] { return waveInOpen(&in, 0, &format, ev, 0, CALLBACK_EVENT); }},
      {"waveOutOpen", [&] { return waveOutOpen(&out, 0, &format, ev, 0, CALLBACK_EVENT); }},
      {"waveInPrepareHeader", [&] { return waveInPrepareHeader(in, &hi, sizeof hi); }},
      {"waveOutPrepareHeader", [&] { return waveOutPrepareHeader(out, &ho, sizeof ho); }},
      {"waveInAddBuffer", [&] { return waveInAddBuffer(in, &hi, sizeof hi); }},
      {"waveOutWrite", [&] { return waveOutWrite(out, &ho, sizeof ho); }},
      {"waveInStart", [&] { return waveInStart(in); }},
      {"waveInReset", [&] { return waveInReset(in); }},
      {"waveOutReset", [&] { return waveOutReset(out); }},
      {"waveInUnprepareHeader", [&] { return waveInUnprepareHeader(in, &hi, sizeof hi); }},
      {"waveOutUnprepareHeader", [&] { return waveOutUnprepareHeader(out, &ho, sizeof ho); }},
      {"waveInClose", [&] { return waveInClose(in); }},
      {"waveOutClose", [&] { return waveOutClose(out); }},
  };
  for (const auto &step : steps) {
    SCOPED_TRACE(step.call);
    const HWAVEIN inBefore = in;
    const HWAVEOUT outBefore = out;
    const DWORD flagsBefore[] = {hi.dwFlags, ho.dwFlags};
    platform::FailCall(step.call, 1, MMSYSERR_NOMEM);
    EXPECT_EQ(step.run(), MMSYSERR_NOMEM);
    EXPECT_EQ(in, inBefore);
    EXPECT_EQ(out, outBefore);
    EXPECT_EQ(hi.dwFlags, flagsBefore[0]);
    EXPECT_EQ(ho.dwFlags, flagsBefore[1]);
    if (in && out) {
      EXPECT_EQ(waveOutReset(reinterpret_cast<HWAVEOUT>(in)), MMSYSERR_INVALHANDLE);
      EXPECT_EQ(waveInClose(reinterpret_cast<HWAVEIN>(out)), MMSYSERR_INVALHANDLE);
    }
    EXPECT_EQ(step.run(), MMSYSERR_NOERROR);
  }
  EXPECT_EQ(hi.dwFlags, WHDR_DONE);
  EXPECT_EQ(ho.dwFlags, WHDR_DONE);
  EXPECT_EQ(ho.dwBytesRecorded, 7u);
}

TEST_F(Calls, PlatformResetAbandonsOpenDevicesSafely) {
  HWAVEIN in = nullptr;
  ASSERT_EQ(waveInOpen(&in, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  std::vector<short> memory(2205);
  WAVEHDR h = Header(memory);
  waveInPrepareHeader(in, &h, sizeof h);
  waveInAddBuffer(in, &h, sizeof h);
  waveInStart(in);
  phone.reset();
  phone.emplace(platform::ClockKind::Virtual);
  EXPECT_EQ(waveInReset(in), MMSYSERR_INVALHANDLE);
  Pass(1000);
  EXPECT_EQ(h.dwFlags, WHDR_PREPARED | WHDR_INQUEUE) << "the abandoned device never touches the buffer";
}

}  // namespace
