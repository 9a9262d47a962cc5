// The live drivers' own logic against a stand-in for SDL with an audio
// thread of its own (FakeSdlAudio), without a sound server: the ring across
// the two threads, what is counted as lost, a close that hangs, and a phone
// that ends with live devices open. The program thread waits on the phone's
// real clock for what the audio thread did; nothing depends on timing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "FakeSdlAudio.h"
#include "phone/Phone.h"
#include "wave/SdlAudio.h"
#include "wave/WaveDevices.h"
#include "win/kernel.h"
#include "win/user.h"
#include "win/wave.h"

namespace {

using platform::wave::LiveLossCounts;

constexpr int kRing = 22050;  // the drivers' ring: a second of sound

struct Buffer {
  explicit Buffer(size_t samples) : memory(samples, -1) {
    header.lpData = reinterpret_cast<LPSTR>(memory.data());
    header.dwBufferLength = static_cast<DWORD>(2 * samples);
  }
  std::vector<int16_t> memory;
  WAVEHDR header{};
};

class LiveDriver : public ::testing::Test {
 protected:
  LiveDriver() {
    platform::wave::CaptureSource source;
    source.kind = platform::wave::CaptureSource::Kind::Live;
    platform::wave::SelectCapture(source);
    platform::wave::PlaybackSink sink;
    sink.kind = platform::wave::PlaybackSink::Kind::Live;
    platform::wave::SelectPlayback(sink);
  }

  HWAVEIN OpenCapture() {
    HWAVEIN in = nullptr;
    EXPECT_EQ(waveInOpen(&in, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
    return in;
  }
  void Queue(HWAVEIN in, Buffer &b) {
    ASSERT_EQ(waveInPrepareHeader(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  }
  // Records `count` samples on the audio thread: the numbers from `first` on.
  bool Record(SDL_AudioDeviceID id, int first, size_t count) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(first + static_cast<int>(i));
    return sdl->Exchange(id, &samples);
  }
  // What the speaker plays of the next `count` samples.
  std::vector<int16_t> Play(SDL_AudioDeviceID id, size_t count) {
    std::vector<int16_t> samples(count, 7);
    EXPECT_TRUE(sdl->Exchange(id, &samples));
    return samples;
  }
  void WaitDone(const WAVEHDR &h) {
    while (!(h.dwFlags & WHDR_DONE)) ASSERT_EQ(MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0), WAIT_OBJECT_0);
  }

  std::shared_ptr<FakeSdlAudio> sdl = std::make_shared<FakeSdlAudio>();
  std::optional<platform::Phone> phone{std::in_place, platform::ClockKind::Real, sdl};
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
};

// Numbers recorded in chunks of random sizes come out in the program's
// buffers unbroken, each once, as the program keeps requeueing them; the
// ring wraps twice over and nothing is counted as lost.
TEST_F(LiveDriver, CaptureHandsOverEverySampleInOrderAcrossTheRing) {
  HWAVEIN in = OpenCapture();
  std::vector<Buffer> buffers;
  for (int i = 0; i < 8; ++i) buffers.emplace_back(1000);
  for (Buffer &b : buffers) Queue(in, b);
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  std::mt19937 random(15);
  std::vector<int16_t> heard;
  int recorded = 0;
  size_t next = 0;  // the buffer done next
  while (heard.size() < 2 * kRing + 5000) {
    const int chunk = 1 + static_cast<int>(random() % 700);
    ASSERT_TRUE(Record(1, recorded, static_cast<size_t>(chunk)));
    recorded += chunk;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the driver's hand-over runs in peeks and waits
    for (; buffers[next].header.dwFlags & WHDR_DONE; next = (next + 1) % buffers.size()) {
      Buffer &b = buffers[next];
      ASSERT_EQ(b.header.dwBytesRecorded, 2000u);
      heard.insert(heard.end(), b.memory.begin(), b.memory.end());
      ASSERT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
  }
  for (size_t i = 0; i < heard.size(); ++i) ASSERT_EQ(heard[i], static_cast<int16_t>(i)) << "sample " << i;
  EXPECT_EQ(LiveLossCounts().overruns, 0u);
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

// A program that does not come to its waits loses what no longer fits the
// ring; what no buffer takes when it does is lost too. Both are counted, to
// the sample, and the buffers hold the oldest sound.
TEST_F(LiveDriver, CaptureCountsWhatTheRingCouldNotHoldAndWhatNoBufferTook) {
  HWAVEIN in = OpenCapture();
  Buffer first(100), second(100);
  Queue(in, first);
  Queue(in, second);
  EXPECT_FALSE(Record(1, 0, 500)) << "a device opened but not started records nothing";
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  for (int at = 0; at < 25000; at += 5000) ASSERT_TRUE(Record(1, at, 5000));
  EXPECT_EQ(LiveLossCounts().overruns, 1u);
  EXPECT_EQ(LiveLossCounts().overrunSamples, 25000u - kRing);
  WaitDone(second.header);
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(first.memory[i], i);
    ASSERT_EQ(second.memory[i], 100 + i);
  }
  EXPECT_EQ(LiveLossCounts().overruns, 2u);
  EXPECT_EQ(LiveLossCounts().overrunSamples, 25000u - 200u);
  EXPECT_EQ(LiveLossCounts().underruns, 0u);
  waveInReset(in);
  waveInClose(in);
}

// A buffer longer than the ring needs the program to top the ring up; a
// speaker that runs dry first plays silence in the middle of it, counted as
// an underrun, and the rest of the buffer follows. The silence after the
// last written sample is owed nothing and is not counted.
TEST_F(LiveDriver, PlaybackCountsTheSilencePlayedWhileWrittenSoundWasLate) {
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  Buffer tone(30000);
  for (size_t i = 0; i < tone.memory.size(); ++i) tone.memory[i] = static_cast<int16_t>(i % 30000);
  ASSERT_EQ(waveOutPrepareHeader(out, &tone.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(out, &tone.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  std::vector<int16_t> played = Play(1, 25000);
  EXPECT_EQ(LiveLossCounts().underruns, 1u);
  EXPECT_EQ(LiveLossCounts().underrunSamples, 25000u - kRing);
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the program tops the ring up
  const std::vector<int16_t> rest = Play(1, 8000);
  played.insert(played.end(), rest.begin(), rest.end());
  WaitDone(tone.header);
  for (int i = 0; i < 33000; ++i) {
    const bool silent = (i >= kRing && i < 25000) || i >= 32950;
    const int16_t expected = silent ? 0 : static_cast<int16_t>(i < kRing ? i : i - (25000 - kRing));
    ASSERT_EQ(played[i], expected) << "sample " << i;
  }
  EXPECT_EQ(LiveLossCounts().underruns, 1u);
  EXPECT_EQ(LiveLossCounts().overruns, 0u);
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
}

// A close that does not end within the bound is left to end on its own, said
// on stderr; the callback is over either way, and SDL's audio is quit only
// after a close that ended.
TEST_F(LiveDriver, ACloseThatHangsIsLeftBehindWithTheCallbackStopped) {
  platform::wave::SdlAudio audio(sdl, std::chrono::milliseconds(0));
  MMRESULT result = MMSYSERR_NOERROR;
  std::string error;
  int calls = 0;
  auto callback = [](void *user, Uint8 *, int) { ++*static_cast<int *>(user); };
  const SDL_AudioDeviceID id = audio.Open(true, "", callback, &calls, &result, &error);
  ASSERT_NE(id, 0u) << error;
  audio.Pause(id, false);
  ASSERT_TRUE(Record(id, 0, 10));
  sdl->HoldCloses(true);
  testing::internal::CaptureStderr();
  audio.Close(id, true);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("the audio capture device did not close within 0 s"),
            std::string::npos);
  EXPECT_FALSE(Record(id, 0, 10)) << "paused before the close began";
  EXPECT_EQ(calls, 1);
  sdl->HoldCloses(false);
  sdl->WaitClosed(id);
  EXPECT_EQ(sdl->Log(), (std::vector<std::string>{"init", "open 1", "resume 1", "pause 1", "close 1"}))
      << "no quit: SDL's audio stays up for the close still under way";
  EXPECT_EQ(audio.Open(true, "No such microphone", callback, &calls, &result, &error), 0u);
  EXPECT_EQ(result, static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
  EXPECT_EQ(error, "no audio capture device named 'No such microphone' (SDL: no such device)");
}

// The phone ending with live devices open pauses every one before it closes
// any, leaves the program's buffers as they are, and nothing is recorded or
// played after it.
TEST_F(LiveDriver, APhoneEndingWithLiveDevicesOpenPausesThemAllFirst) {
  HWAVEIN in = OpenCapture();
  Buffer recording(100);
  Queue(in, recording);
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  Buffer tone(30000);
  ASSERT_EQ(waveOutPrepareHeader(out, &tone.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(out, &tone.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_TRUE(Record(1, 0, 50));
  const DWORD recordingFlags = recording.header.dwFlags, toneFlags = tone.header.dwFlags;
  phone.reset();
  const std::vector<std::string> log = sdl->Log();
  auto at = [&log](const std::string &entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
  EXPECT_LT(std::max(at("pause 1"), at("pause 2")), std::min(at("close 1"), at("close 2")))
      << ::testing::PrintToString(log);
  EXPECT_LT(std::max(at("close 1"), at("close 2")), static_cast<long>(log.size()));
  EXPECT_EQ(recording.header.dwFlags, recordingFlags);
  EXPECT_EQ(tone.header.dwFlags, toneFlags);
  EXPECT_EQ(recording.memory[0], -1) << "what the ring held never reached the buffer";
  EXPECT_FALSE(Record(1, 0, 50));
  std::vector<int16_t> silence(50);
  EXPECT_FALSE(sdl->Exchange(2, &silence));
}

}  // namespace
