// The live drivers' own logic against a stand-in for SDL with an audio
// thread of its own (FakeSdlAudio), without a sound server: the ring across
// the two threads, what is counted as lost, a device that goes away and
// comes back, opens and closes that hang, and a phone that ends with live
// devices open. The program thread waits on the phone's real clock for what
// the audio thread did; nothing depends on timing (a device that stalls is
// one the test never calls back again).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "FakeSdlAudio.h"
#include "gdi/GdiHost.h"
#include "phone/Handset.h"
#include "phone/Phone.h"
#include "wave/AudioWorker.h"
#include "wave/WaveDevices.h"
#include "wave/WaveAudio.h"
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

using std::chrono::milliseconds;

class LiveDriver : public ::testing::Test {
 protected:
  // A device is lost only when the test says so: a disconnect, or a stall
  // where the timings are shortened. Lost devices are tried again at once.
  LiveDriver() {
    platform::wave::CaptureSource source;
    source.kind = platform::wave::CaptureSource::Kind::Live;
    platform::wave::SelectCapture(source);
    platform::wave::PlaybackSink sink;
    sink.kind = platform::wave::PlaybackSink::Kind::Live;
    platform::wave::SelectPlayback(sink);
    Timings().stall = std::chrono::hours(1);
    Timings().watch = milliseconds(2);
    for (auto &pause : Timings().retry) pause = milliseconds(1);
  }

  // A switched-on phone draws its caption strip's text: fontconfig is let
  // go once the phone has ended, as the device does at its end.
  void TearDown() override {
    phone.reset();
    GdiShutdown();
  }

  static platform::wave::LiveTimings &Timings() { return platform::Phone::Running()->Wave().timings; }
  static std::wstring Notice() {
    for (const platform::handset::ScreenText &t : platform::handset::ScreenTexts())
      if (t.source == "notice") return t.text;
    return L"?";
  }
  // Waits on the platform (its drivers at work meanwhile) until the stand-in
  // has logged `entry`: a thread watches the log and sets an event.
  void WaitForLog(const std::string &entry) {
    HANDLE logged = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::thread watcher([&] {
      sdl->WaitFor(entry);
      SetEvent(logged);
    });
    while (MsgWaitForMultipleObjectsEx(1, &logged, INFINITE, 0, 0) != WAIT_OBJECT_0) {}
    watcher.join();
    CloseHandle(logged);
  }
  // Waits for the next buffers done, appends their samples to `heard` and
  // queues them again; `next` is the one done next.
  void TakeDone(HWAVEIN in, std::vector<Buffer> &buffers, size_t *next, std::vector<int16_t> *heard) {
    ASSERT_EQ(MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0), WAIT_OBJECT_0);
    for (; buffers[*next].header.dwFlags & WHDR_DONE; *next = (*next + 1) % buffers.size()) {
      Buffer &b = buffers[*next];
      ASSERT_EQ(b.header.dwBytesRecorded, 2 * b.memory.size());
      heard->insert(heard->end(), b.memory.begin(), b.memory.end());
      ASSERT_EQ(waveInAddBuffer(in, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
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

// A device SDL finds disconnected is closed and the user told once, on
// stderr and in the caption strip; silence fills the buffers at the clock's
// pace from where its sound stopped (the front one after the sound it held);
// the device is opened again as soon as it is there, the notice clears, and
// its sound follows the silence: every buffer comes back in order, once.
TEST_F(LiveDriver, CaptureGoesAwayAndComesBackWithTheBuffersInOrder) {
  phone->SwitchOn();
  HWAVEIN in = OpenCapture();
  std::vector<Buffer> buffers;
  for (int i = 0; i < 4; ++i) buffers.emplace_back(1000);
  for (Buffer &b : buffers) Queue(in, b);
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  ASSERT_TRUE(Record(1, 0, 2500));
  std::vector<int16_t> heard;
  size_t next = 0;
  while (heard.size() < 2000) TakeDone(in, buffers, &next, &heard);
  EXPECT_EQ(Notice(), L"");

  testing::internal::CaptureStderr();
  sdl->Refuse(true);
  sdl->Disconnect(1);
  WaitForLog("close 1");
  while (heard.size() < 5000) TakeDone(in, buffers, &next, &heard);
  EXPECT_EQ(Notice(), L"No microphone");
  EXPECT_EQ(LiveLossCounts().captureLosses, 1u);

  sdl->Refuse(false);
  WaitForLog("resume 2");
  ASSERT_TRUE(Record(2, 10000, 2500));  // fits the queue
  while (heard.empty() || heard.back() < 10999) TakeDone(in, buffers, &next, &heard);
  EXPECT_EQ(Notice(), L"") << "back with its first sound";
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(program_invocation_short_name) +
                ": lost the audio capture device live (it was disconnected); listening to silence until it is "
                "back\n" +
                program_invocation_short_name + ": the audio capture device live is back\n");

  for (int i = 0; i < 2500; ++i) ASSERT_EQ(heard[i], i) << "sample " << i;
  const auto back = std::find(heard.begin() + 2500, heard.end(), 10000);
  ASSERT_NE(back, heard.end());
  const long silent = back - heard.begin() - 2500;
  EXPECT_GE(silent, 2500) << "the rest of the third buffer, and more";
  EXPECT_EQ(std::count(heard.begin() + 2500, back, 0), silent);
  for (auto at = back; at != heard.end(); ++at) ASSERT_EQ(*at, 10000 + (at - back)) << "after the return";
  EXPECT_EQ(LiveLossCounts().captureAwaySamples, static_cast<uint64_t>(silent));
  EXPECT_EQ(LiveLossCounts().overruns, 0u);
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

// A device opened again that stays silent (a suspended microphone) is closed
// and opened once more without a word, and the one that sounds is back: the
// user is told of one loss and one return, and the sound follows the silence.
TEST_F(LiveDriver, ADeviceOpenedAgainThatStaysSilentIsTriedAgainQuietly) {
  Timings().start = milliseconds(200);  // the silence a device opened again may keep
  HWAVEIN in = OpenCapture();
  std::vector<Buffer> buffers;
  for (int i = 0; i < 4; ++i) buffers.emplace_back(1000);
  for (Buffer &b : buffers) Queue(in, b);
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  ASSERT_TRUE(Record(1, 1, 1000));
  std::vector<int16_t> heard;
  size_t next = 0;
  while (heard.size() < 1000) TakeDone(in, buffers, &next, &heard);

  testing::internal::CaptureStderr();
  sdl->Disconnect(1);
  WaitForLog("resume 2");  // opened again, and never heard
  sdl->HoldOpens(true);    // the open after it waits until the test is ready for it
  WaitForLog("close 2");
  Timings().start = std::chrono::hours(1);
  sdl->HoldOpens(false);
  WaitForLog("resume 3");
  ASSERT_TRUE(Record(3, 5000, 3000));
  while (std::find(heard.begin(), heard.end(), 5999) == heard.end()) TakeDone(in, buffers, &next, &heard);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(program_invocation_short_name) +
                ": lost the audio capture device live (it was disconnected); listening to silence until it is "
                "back\n" +
                program_invocation_short_name + ": the audio capture device live is back\n");
  EXPECT_EQ(LiveLossCounts().captureLosses, 1u);
  const auto back = std::find(heard.begin(), heard.end(), 5000);
  EXPECT_EQ(std::count(heard.begin() + 1000, back, 0), back - heard.begin() - 1000) << "silence till then";
  for (auto at = back; at != heard.end(); ++at) ASSERT_EQ(*at, 5000 + (at - back));
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

// A speaker that stops taking sound is lost after the stall time; its
// buffers complete at the clock's pace as if played to nothing, from where
// it had got to. Back, it plays the rest of the buffer being played from
// where the clock has got to, and what follows.
TEST_F(LiveDriver, PlaybackThatStallsPlaysToNothingThenOnWhenBack) {
  Timings().stall = Timings().start = milliseconds(20);
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  Buffer first(1000), second(22050);
  for (size_t i = 0; i < second.memory.size(); ++i) second.memory[i] = static_cast<int16_t>(i);
  for (Buffer *b : {&first, &second}) ASSERT_EQ(waveOutPrepareHeader(out, &b->header, sizeof(WAVEHDR)), 0u);
  ASSERT_EQ(waveOutWrite(out, &first.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(Play(1, 400), std::vector<int16_t>(400, -1));

  testing::internal::CaptureStderr();
  sdl->Refuse(true);
  WaitDone(first.header);
  WaitForLog("close 1");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(program_invocation_short_name) +
                ": lost the audio output device live (it took no sound for 0.02 s); playing to nothing until it "
                "is back\n");
  ASSERT_EQ(waveOutWrite(out, &second.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  sdl->Refuse(false);
  WaitForLog("resume 2");
  EXPECT_EQ(Play(2, 100), std::vector<int16_t>(100, 0)) << "not back before it takes its first sound";
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // back: the program fills the ring
  // The first buffer was played to nothing; the second plays on from where
  // the clock had got to when the device came back.
  const std::vector<int16_t> played = Play(2, 1000);
  ASSERT_GE(played[0], 0);
  for (size_t i = 0; i < played.size(); ++i) ASSERT_EQ(played[i], played[0] + static_cast<int>(i)) << i;
  while (!(second.header.dwFlags & WHDR_DONE)) {
    Play(2, 4000);
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the program tops the ring up
  }
  EXPECT_EQ(LiveLossCounts().playbackLosses, 1u);
  EXPECT_EQ(LiveLossCounts().underruns, 0u);
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
}

// Told to wait for its device, an open without one succeeds: the user is
// told, silence comes at the clock's pace, and the device's sound once it
// is there.
TEST_F(LiveDriver, ACaptureDeviceThatWaitsForItsDeviceStartsWithout) {
  phone->SwitchOn();
  platform::wave::CaptureSource source;
  source.kind = platform::wave::CaptureSource::Kind::Live;
  source.waitForDevice = true;
  platform::wave::SelectCapture(source);
  sdl->Refuse(true);
  testing::internal::CaptureStderr();
  HWAVEIN in = OpenCapture();
  EXPECT_EQ(Notice(), L"No microphone");
  std::vector<Buffer> buffers;
  for (int i = 0; i < 3; ++i) buffers.emplace_back(500);
  for (Buffer &b : buffers) Queue(in, b);
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  std::vector<int16_t> heard;
  size_t next = 0;
  while (heard.size() < 1000) TakeDone(in, buffers, &next, &heard);
  sdl->Refuse(false);
  WaitForLog("resume 1");
  ASSERT_TRUE(Record(1, 1, 3000));
  while (heard.empty() || heard.back() == 0) TakeDone(in, buffers, &next, &heard);
  EXPECT_EQ(Notice(), L"");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(program_invocation_short_name) +
                ": no audio capture device found (SDL: no such device); listening to silence until it is there\n" +
                program_invocation_short_name + ": the audio capture device live is there\n");
  const auto first = std::find(heard.begin(), heard.end(), 1);
  EXPECT_EQ(std::count(heard.begin(), first, 0), first - heard.begin());
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

// An open that does not end within its time fails, and the device it opens
// later is closed on the audio worker; a close that does not end within the
// close time is left to end on its own, said once on stderr, with the
// callback stopped before it began; SDL's audio is quit after it ends.
TEST_F(LiveDriver, OpensAndClosesThatHangAreLeftBehindWithTheCallbackStopped) {
  Timings().open = milliseconds(0);
  Timings().close = milliseconds(0);
  sdl->HoldOpens(true);
  HWAVEIN in = nullptr;
  EXPECT_EQ(waveInOpen(&in, 0, &format, 0, 0, CALLBACK_NULL), static_cast<MMRESULT>(MMSYSERR_ERROR));
  EXPECT_EQ(platform::wave::LastOpenError(),
            "the audio capture device live did not open within 0 s (its sound server did not answer)");
  sdl->HoldOpens(false);
  sdl->WaitFor("close 1");

  Timings().open = milliseconds(60000);
  in = OpenCapture();
  Buffer recording(100);
  Queue(in, recording);
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  ASSERT_TRUE(Record(2, 0, 10));
  sdl->HoldCloses(true);
  ASSERT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  ASSERT_EQ(waveInClose(in), MMSYSERR_NOERROR) << "returns at once";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(platform::wave::SettleLiveAudio());
  EXPECT_FALSE(platform::wave::SettleLiveAudio()) << "said once";
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(program_invocation_short_name) +
                ": the audio capture device did not close within 0 s (its sound server stopped answering); ending "
                "without it\n");
  EXPECT_FALSE(Record(2, 0, 10)) << "stopped before the close began";
  sdl->HoldCloses(false);
  platform::wave::AudioWorker &worker = platform::Phone::Running()->Wave().workers.sdl;
  worker.WaitFor(worker.Post([] {}), std::chrono::steady_clock::time_point::max());  // the close's job is over
  const std::vector<std::string> log = sdl->Log();
  EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()),
            (std::vector<std::string>{"open 2", "resume 2", "pause 2", "close 2", "quit"}));
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
