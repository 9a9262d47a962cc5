#include "wave/DriverFactory.h"

#include "wave/AudioNames.h"
#include "wave/DemoRecording.h"
#include "wave/LiveCapture.h"
#include "wave/LivePlayback.h"
#include "wave/PacedCapture.h"
#include "wave/PacedPlayback.h"
#include "wave/SoundFileRecording.h"
#include "wave/WavFileSink.h"

namespace platform::wave {

namespace {

std::unique_ptr<CaptureStream> MakeStream(const CaptureSource &source, MMRESULT *result, std::string *error) {
  switch (source.kind) {
    case CaptureSource::Kind::Tone:
      return std::make_unique<ToneStream>(source.toneHz, source.toneAmplitude);
    case CaptureSource::Kind::Demo:
      return std::make_unique<RecordingStream>(std::make_unique<DemoRecording>(), source.status);
    case CaptureSource::Kind::File:
      if (std::unique_ptr<SoundFileRecording> file = SoundFileRecording::Open(source.path, error))
        return std::make_unique<RecordingStream>(std::move(file), source.status);
      if (source.status) {
        source.status->ended = true;
        source.status->error = *error;
      }
      *result = MMSYSERR_ERROR;
      return nullptr;
    case CaptureSource::Kind::Custom:
      if (source.make && *source.make) {
        if (std::unique_ptr<CaptureStream> made = (*source.make)()) return made;
      }
      *result = MMSYSERR_NODRIVER;
      *error = "no capture source was given";
      return nullptr;
    default:
      return std::make_unique<SilenceStream>();
  }
}

LiveEndpoint Endpoint(LiveEndpoint::Backend backend, bool capture, const std::string &name, const std::string &label,
                      bool waitForDevice) {
  return LiveEndpoint{backend, capture, name, label, waitForDevice};
}

template <class Live>
std::unique_ptr<WaveDriver> OpenLive(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *losses, MMRESULT *result,
                                     std::string *error) {
  auto driver = std::make_unique<Live>(std::move(endpoint), wave, losses);
  if (!driver->Open(result, error)) return nullptr;
  return driver;
}

}  // namespace

std::unique_ptr<WaveDriver> MakeCaptureDriver(WaveAudio &wave, MMRESULT *result, std::string *error) {
  const CaptureSource &source = wave.chosen.capture;
  if (IsLive(source)) {
    const auto backend =
        source.kind == CaptureSource::Kind::Jack ? LiveEndpoint::Backend::Jack : LiveEndpoint::Backend::Sdl;
    return OpenLive<LiveCapture>(Endpoint(backend, true, source.device, NameOf(source), source.waitForDevice), wave,
                                 &wave.losses.overruns, result, error);
  }
  std::unique_ptr<CaptureStream> s = MakeStream(source, result, error);
  if (!s) return nullptr;
  return std::make_unique<PacedCapture>(std::move(s));
}

std::unique_ptr<WaveDriver> MakePlaybackDriver(WaveAudio &wave, MMRESULT *result, std::string *error) {
  const PlaybackSink &sink = wave.chosen.playback;
  switch (sink.kind) {
    case PlaybackSink::Kind::Live:
    case PlaybackSink::Kind::Jack: {
      const auto backend = sink.kind == PlaybackSink::Kind::Jack ? LiveEndpoint::Backend::Jack : LiveEndpoint::Backend::Sdl;
      return OpenLive<LivePlayback>(Endpoint(backend, false, sink.device, NameOf(sink), sink.waitForDevice), wave,
                                    &wave.losses.underruns, result, error);
    }
    case PlaybackSink::Kind::File: {
      auto file = std::make_unique<WavFileSink>(sink.path, sink.status);
      if (file->Ok()) return std::make_unique<PacedPlayback>(std::move(file));
      *result = MMSYSERR_ERROR;
      *error = file->Error();
      return nullptr;
    }
    default:
      return std::make_unique<PacedPlayback>(std::make_unique<NullSink>());
  }
}

}  // namespace platform::wave
