// Live capture and playback through SDL against a PulseAudio server of the
// test's own (a null sink and its monitor). These run in real time: each
// waits on the platform for what it expects, never for a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>
#include <vector>

#include "PulseServer.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "wave/WaveDevices.h"
#include "win/kernel.h"
#include "win/user.h"
#include "win/wave.h"

namespace {

using platform::wave::LiveLossCounts;

constexpr DWORD kRate = 22050;

class LiveAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.Ok()) GTEST_SKIP() << server.Why();
    server.UseHere();
    phone.emplace(platform::ClockKind::Real);
    event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  }
  void TearDown() override { phone.reset(); }

  // Waits on the device's event until every header is done.
  void WaitDone(const std::vector<WAVEHDR *> &headers) {
    while (std::any_of(headers.begin(), headers.end(), [](WAVEHDR *h) { return !(h->dwFlags & WHDR_DONE); }))
      ASSERT_EQ(MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0), WAIT_OBJECT_0);
  }

  static void SelectLiveCapture(const std::string &name) {
    platform::wave::CaptureSource source;
    source.kind = platform::wave::CaptureSource::Kind::Live;
    source.device = name;
    platform::wave::SelectCapture(source);
  }
  static void SelectLivePlayback(const std::string &name) {
    platform::wave::PlaybackSink sink;
    sink.kind = platform::wave::PlaybackSink::Kind::Live;
    sink.device = name;
    platform::wave::SelectPlayback(sink);
  }
  static bool Listed(bool capture, const std::string &name) {
    std::string error;
    const std::vector<std::string> names = platform::wave::ListLiveDevices(capture, &error);
    EXPECT_EQ(error, "");
    return std::find(names.begin(), names.end(), name) != names.end();
  }

  PulseServer server;
  std::optional<platform::Phone> phone;
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kRate, 2 * kRate, 2, 16, 0};
  HANDLE event = nullptr;
};

struct Buffer {
  explicit Buffer(size_t samples, short value = 0) : memory(samples, value) {
    header.lpData = reinterpret_cast<LPSTR>(memory.data());
    header.dwBufferLength = static_cast<DWORD>(2 * samples);
  }
  Buffer(const Buffer &) = delete;
  std::vector<short> memory;
  WAVEHDR header{};
};

// A program that stops coming to its waits loses sound once the driver's
// second of room is full, and what no buffer takes is lost too; both are
// counted, and capture goes on.
TEST_F(LiveAudio, CaptureByNameCountsOverrunsAndGoesOn) {
  ASSERT_TRUE(Listed(true, "Monitor of Null Output"));
  SelectLiveCapture("No such microphone");
  HWAVEIN in = nullptr;
  const auto ev = reinterpret_cast<DWORD_PTR>(event);
  EXPECT_EQ(waveInOpen(&in, 0, &format, ev, 0, CALLBACK_EVENT), MMSYSERR_BADDEVICEID);
  EXPECT_NE(platform::wave::LastOpenError().find("named 'No such microphone'"), std::string::npos)
      << platform::wave::LastOpenError();

  SelectLiveCapture("Monitor of Null Output");
  ASSERT_EQ(waveInOpen(&in, 0, &format, ev, 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  Buffer first(kRate / 10, -1), second(kRate / 10, -1);
  for (Buffer *b : {&first, &second}) {
    ASSERT_EQ(waveInPrepareHeader(in, &b->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(in, &b->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  }
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  while (LiveLossCounts().overruns == 0) std::this_thread::yield();  // no wait: the ring fills

  WaitDone({&first.header, &second.header});
  for (Buffer *b : {&first, &second}) {
    EXPECT_EQ(b->header.dwBytesRecorded, 2 * kRate / 10);
    EXPECT_EQ(std::count(b->memory.begin(), b->memory.end(), 0), long(kRate / 10)) << "the monitor's silence";
  }
  const platform::wave::LiveLosses lost = LiveLossCounts();
  EXPECT_GE(lost.overrunSamples, kRate - 2 * kRate / 10) << "the ring's second, less what the buffers took";
  EXPECT_EQ(lost.underruns, 0u);

  Buffer more[3] = {Buffer(kRate / 10), Buffer(kRate / 10), Buffer(kRate / 10)};
  for (Buffer &b : more) {
    ASSERT_EQ(waveInPrepareHeader(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  }
  WaitDone({&more[0].header, &more[1].header, &more[2].header});
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  for (Buffer *b : {&first, &second, &more[0], &more[1], &more[2]})
    EXPECT_EQ(waveInUnprepareHeader(in, &b->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

// A buffer longer than the driver's second of room needs the program to top
// the ring up; one that does not come to its waits makes the speaker play
// silence in the middle of it, which is counted, and the buffer still ends.
TEST_F(LiveAudio, PlaybackByNameCountsUnderrunsAndFinishesEveryBuffer) {
  ASSERT_TRUE(Listed(false, "Null Output"));
  SelectLivePlayback("Null Output");
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);

  Buffer longer(kRate * 6 / 5, 3000);
  ASSERT_EQ(waveOutPrepareHeader(out, &longer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(out, &longer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  while (LiveLossCounts().underruns == 0) std::this_thread::yield();  // no wait: the ring runs dry
  WaitDone({&longer.header});
  const uint64_t underruns = LiveLossCounts().underruns;
  EXPECT_GT(LiveLossCounts().underrunSamples, 0u);

  Buffer more[3] = {Buffer(kRate / 10, 3000), Buffer(kRate / 10, 3000), Buffer(kRate / 10, 3000)};
  for (Buffer &b : more) {
    ASSERT_EQ(waveOutPrepareHeader(out, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(out, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  }
  WaitDone({&more[0].header, &more[1].header, &more[2].header});
  EXPECT_EQ(LiveLossCounts().underruns, underruns) << "short buffers go to the ring whole, at once";
  EXPECT_EQ(LiveLossCounts().overruns, 0u);
  EXPECT_EQ(waveOutReset(out), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
}

// A live open that fails (no such device) leaves SDL's audio to the device
// already open: its buffers go on playing.
TEST_F(LiveAudio, FailedOpenLeavesTheOpenDevicePlaying) {
  SelectLivePlayback("Null Output");
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  SelectLiveCapture("No such microphone");
  HWAVEIN in = nullptr;
  EXPECT_EQ(waveInOpen(&in, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);

  Buffer tone(kRate / 10, 3000);
  ASSERT_EQ(waveOutPrepareHeader(out, &tone.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(out, &tone.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  WaitDone({&tone.header});
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
}

}  // namespace
