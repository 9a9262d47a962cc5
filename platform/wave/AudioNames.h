#pragma once

// The words for the phone's capture sources, playback sinks and clocks: one
// table each, from which the device reads its command line and writes its
// --help, and by which the wave layer's messages name a source or sink.
#include <optional>
#include <string>

#include "kernel/Platform.h"
#include "wave/AudioChoice.h"

namespace platform::wave {

// A word with its argument as --help shows it: "" for none, "[:NAME]" for
// an optional one, ":HZ" for one that must follow.
template <class Kind>
struct Word {
  Kind kind;
  const char *word;
  const char *argument;
};

// Anything else a --capture value names is a sound file; --playback's, a WAV.
inline constexpr Word<CaptureSource::Kind> kCaptureWords[] = {
    {CaptureSource::Kind::Live, "live", "[:NAME]"},
    {CaptureSource::Kind::Jack, "jack", "[:PORT]"},
    {CaptureSource::Kind::Demo, "demo", ""},
    {CaptureSource::Kind::Silence, "silence", ""},
    {CaptureSource::Kind::Tone, "tone", ":HZ"},
};
inline constexpr Word<PlaybackSink::Kind> kPlaybackWords[] = {
    {PlaybackSink::Kind::Live, "live", "[:NAME]"},
    {PlaybackSink::Kind::Jack, "jack", "[:PORT]"},
    {PlaybackSink::Kind::Null, "null", ""},
};
inline constexpr Word<ClockKind> kClockWords[] = {
    {ClockKind::Real, "real", ""},
    {ClockKind::Virtual, "virtual", ""},
};

// The words with their arguments joined by `separator`: "live[:NAME], demo,
// silence, tone:HZ"; "real|virtual".
std::string CaptureWords(const char *separator = ", ");
std::string PlaybackWords(const char *separator = ", ");
std::string ClockWords(const char *separator = ", ");

// What a --capture (or --playback) value names, with the argument after the
// word's colon in `argument`; a value that is no word is a file, its path
// the argument.
CaptureSource::Kind CaptureKindOf(const std::string &value, std::string *argument);
PlaybackSink::Kind PlaybackKindOf(const std::string &value, std::string *argument);
std::optional<ClockKind> ClockOf(const std::string &value);
// Whether a value names a live device (live[:NAME] or jack[:PORT]), as the
// tools' --capture and --playback take.
bool NamesLiveDevice(const std::string &value, bool capture);
// The words of the live devices, for messages: "live, live:NAME, jack or jack:PORT".
extern const char kLiveDeviceWords[];

// How messages name a source, sink or clock: its word with its argument
// ("live:Mic", "tone:440"), or a file's path; "custom" for a test's source.
std::string NameOf(const CaptureSource &source);
std::string NameOf(const PlaybackSink &sink);
std::string NameOf(ClockKind clock);

}  // namespace platform::wave
