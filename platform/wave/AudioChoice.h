#pragma once

// What a wave device opened with waveInOpen / waveOutOpen takes: the capture
// source or playback sink chosen at that moment (devices already open keep
// theirs). AudioNames.h gives each kind its word for the command line and
// for messages.
#include <functional>
#include <memory>
#include <string>

#include "wave/CaptureStream.h"
#include "wave/RecordingStream.h"
#include "wave/SoundSink.h"

namespace platform::wave {

struct CaptureSource {
  enum class Kind { Silence, Tone, File, Demo, Custom, Live, Jack };
  Kind kind = Kind::Silence;
  std::string path;            // File: any sound file libsndfile reads ("-": standard input)
  // File, Demo: told how much the recording held once it has been read to
  // its end (the device then hears silence), and any read error.
  std::shared_ptr<RecordingStatus> status;
  double toneHz = 440.0;       // Tone
  double toneAmplitude = 0.5;  // Tone: 0..1 of full scale
  // Custom: makes the source of each device opened (tests, tools).
  std::shared_ptr<std::function<std::unique_ptr<CaptureStream>()>> make;
  // Live: the device's name as ListLiveDevices gives it (empty: the system's
  // default); a name SDL does not know fails the open, and LastOpenError says
  // so. Jack: the port the phone's input port is connected to (empty: the
  // first physical capture port).
  std::string device;
  // Live, Jack: when the device is not there, the open succeeds without it,
  // and the device is taken when it comes (a window on the real clock).
  bool waitForDevice = false;
};

struct PlaybackSink {
  enum class Kind { Null, File, Live, Jack };
  Kind kind = Kind::Null;
  std::string path;  // File: a 16-bit mono WAV written as the device plays
  // File: told, once the device has closed, whether all of it was written.
  std::shared_ptr<WriteStatus> status;
  // Live: the device's name as ListLiveDevices gives it (empty: the system's
  // default); a name SDL does not know fails the open, and LastOpenError says
  // so. Jack: the port the phone's output port is connected to (empty: the
  // first two physical playback ports).
  std::string device;
  // Live, Jack: as CaptureSource's.
  bool waitForDevice = false;
};

struct AudioChoice {
  CaptureSource capture;
  PlaybackSink playback;
};

// Whether it is a live device (SDL's or JACK's), which follows the sound
// card's pace rather than the clock.
inline bool IsLive(const CaptureSource &s) {
  return s.kind == CaptureSource::Kind::Live || s.kind == CaptureSource::Kind::Jack;
}
inline bool IsLive(const PlaybackSink &s) { return s.kind == PlaybackSink::Kind::Live || s.kind == PlaybackSink::Kind::Jack; }

}  // namespace platform::wave
