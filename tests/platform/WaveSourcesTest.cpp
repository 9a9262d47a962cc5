// Capture sources and playback sinks behind the wave calls.
#include <sndfile.h>

#include <cstdio>
#include <memory>

#include "WaveTestSupport.h"
#include "wave/DemoRecording.h"
#include "wave/SoundFileRecording.h"

namespace {

using Sources = WavePlatform;

// Opens capture on the selected source, queues `buffers` of `samples` each,
// starts, and returns them once all are done.
std::vector<std::vector<short>> Capture(HANDLE event, const WAVEFORMATEX &format, int buffers, size_t samples) {
  HWAVEIN in = nullptr;
  EXPECT_EQ(waveInOpen(&in, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  std::vector<std::vector<short>> memory(buffers, std::vector<short>(samples, 7));
  std::vector<WAVEHDR> headers(buffers);
  for (int i = 0; i < buffers; ++i) {
    headers[i] = WAVEHDR{};
    headers[i].lpData = reinterpret_cast<LPSTR>(memory[i].data());
    headers[i].dwBufferLength = static_cast<DWORD>(2 * samples);
    waveInPrepareHeader(in, &headers[i], sizeof(WAVEHDR));
    waveInAddBuffer(in, &headers[i], sizeof(WAVEHDR));
  }
  waveInStart(in);
  while (!(headers.back().dwFlags & WHDR_DONE)) MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0);
  for (WAVEHDR &h : headers) waveInUnprepareHeader(in, &h, sizeof h);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
  return memory;
}

TEST_F(Sources, FileEndsWithSilenceInItsLastBufferAndReportsItsLength) {
  std::vector<short> recording(3000);
  for (size_t i = 0; i < recording.size(); ++i) recording[i] = static_cast<short>(i + 1);
  const std::string path = OutputPath("wave-source.wav");
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE *f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr);
  sf_write_short(f, recording.data(), static_cast<sf_count_t>(recording.size()));
  sf_close(f);

  platform::wave::CaptureSource file;
  file.kind = platform::wave::CaptureSource::Kind::File;
  file.path = path;
  file.status = std::make_shared<platform::wave::RecordingStatus>();
  platform::wave::SelectCapture(file);
  const auto buffers = Capture(event, format, 3, 2205);
  EXPECT_TRUE(file.status->ended);
  EXPECT_EQ(file.status->length, 3000u);
  EXPECT_TRUE(file.status->error.empty());
  EXPECT_EQ(buffers[0][0], 1);
  EXPECT_EQ(buffers[1][794], 3000);
  EXPECT_EQ(buffers[1][795], 0) << "the rest of the last buffer is silence";
  EXPECT_EQ(buffers[2], std::vector<short>(2205, 0));
}

TEST_F(Sources, UnreadableFileFailsTheOpenWithTheReason) {
  platform::wave::CaptureSource file;
  file.kind = platform::wave::CaptureSource::Kind::File;
  file.path = OutputPath("no-such-recording.wav");
  platform::wave::SelectCapture(file);
  HWAVEIN in = nullptr;
  EXPECT_EQ(waveInOpen(&in, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_ERROR);
  std::string reason;
  EXPECT_EQ(SoundFileRecording::Open(file.path, &reason), nullptr);
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(platform::wave::LastOpenError(), reason);
}

TEST_F(Sources, DemoIsTheBuiltInRecording) {
  platform::wave::CaptureSource demo;
  demo.kind = platform::wave::CaptureSource::Kind::Demo;
  platform::wave::SelectCapture(demo);
  const auto buffers = Capture(event, format, 40, 2205);
  DemoRecording direct;
  std::vector<short> expected(2205);
  for (const auto &b : buffers) {
    ASSERT_EQ(direct.Read(expected.data(), expected.size()), expected.size());
    ASSERT_EQ(b, expected);
  }
}

TEST_F(Sources, FileSinkWritesExactlyTheBuffersPlayedAndNothingWhereTheDeviceRanDry) {
  platform::wave::PlaybackSink sink;
  sink.kind = platform::wave::PlaybackSink::Kind::File;
  sink.path = OutputPath("wave-sink.wav");
  platform::wave::SelectPlayback(sink);
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
  Pass(300);  // before the first buffer: not recorded
  std::vector<short> a(441, 100), b(441, -200);
  WAVEHDR ha = Header(a), hb = Header(b);
  waveOutPrepareHeader(out, &ha, sizeof ha);
  waveOutWrite(out, &ha, sizeof ha);
  Pass(50);  // 20 ms of a, then 30 ms of nothing
  waveOutPrepareHeader(out, &hb, sizeof hb);
  waveOutWrite(out, &hb, sizeof hb);
  Pass(30);
  EXPECT_EQ(hb.dwFlags, WHDR_PREPARED | WHDR_DONE);
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);

  SF_INFO info{};
  SNDFILE *f = sf_open(sink.path.c_str(), SFM_READ, &info);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  std::vector<short> written(static_cast<size_t>(info.frames));
  sf_read_short(f, written.data(), info.frames);
  sf_close(f);
  std::vector<short> expected(a);
  expected.insert(expected.end(), b.begin(), b.end());
  EXPECT_EQ(written, expected);
}

TEST_F(Sources, UnwritableSinkFailsTheOpenWithTheReason) {
  platform::wave::PlaybackSink sink;
  sink.kind = platform::wave::PlaybackSink::Kind::File;
  sink.path = "/nonexistent-dir/tone.wav";
  platform::wave::SelectPlayback(sink);
  HWAVEOUT out = nullptr;
  EXPECT_EQ(waveOutOpen(&out, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_ERROR);
  EXPECT_NE(platform::wave::LastOpenError().find("/nonexistent-dir/tone.wav"), std::string::npos);
}

// Live devices: on a machine with sound the open succeeds and this is skipped.
TEST_F(Sources, LiveDeviceMissingFailsTheOpenAndSaysSo) {
  platform::wave::CaptureSource live;
  live.kind = platform::wave::CaptureSource::Kind::Live;
  platform::wave::SelectCapture(live);
  HWAVEIN in = nullptr;
  const MMRESULT r = waveInOpen(&in, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT);
  if (r == MMSYSERR_NOERROR) {
    waveInClose(in);
    GTEST_SKIP() << "this machine has an audio capture device";
  }
  EXPECT_TRUE(r == MMSYSERR_NODRIVER || r == MMSYSERR_BADDEVICEID) << r;
  EXPECT_EQ(platform::wave::LastOpenError().rfind("no audio capture device found", 0), 0u)
      << platform::wave::LastOpenError();
  EXPECT_EQ(in, nullptr);
  std::printf("live open: %s\n", platform::wave::LastOpenError().c_str());
}

}  // namespace
