#include "wave/AudioNames.h"

#include <cstdio>
#include <span>

namespace platform::wave {

namespace {

template <class Kind>
std::string Join(std::span<const Word<Kind>> words, const char *separator) {
  std::string joined;
  for (const Word<Kind> &w : words) {
    if (!joined.empty()) joined += separator;
    joined += std::string(w.word) + w.argument;
  }
  return joined;
}

// The word `value` is, with its argument; none when it is no word.
template <class Kind>
std::optional<Kind> KindOf(std::span<const Word<Kind>> words, const std::string &value, std::string *argument) {
  for (const Word<Kind> &w : words) {
    const std::string word = w.word, arg = w.argument;
    const bool bare = value == word && (arg.empty() || arg.front() == '[');
    const bool withArgument = !arg.empty() && value.starts_with(word + ":");
    if (!bare && !withArgument) continue;
    *argument = withArgument ? value.substr(word.size() + 1) : "";
    return w.kind;
  }
  *argument = value;
  return std::nullopt;
}

template <class Kind>
std::string WordOf(std::span<const Word<Kind>> words, Kind kind) {
  for (const Word<Kind> &w : words)
    if (w.kind == kind) return w.word;
  return "";
}

std::string WithArgument(std::string word, const std::string &argument) {
  return argument.empty() ? word : word + ":" + argument;
}

}  // namespace

std::string CaptureWords(const char *separator) { return Join<CaptureSource::Kind>(kCaptureWords, separator); }
std::string PlaybackWords(const char *separator) { return Join<PlaybackSink::Kind>(kPlaybackWords, separator); }
std::string ClockWords(const char *separator) { return Join<ClockKind>(kClockWords, separator); }

CaptureSource::Kind CaptureKindOf(const std::string &value, std::string *argument) {
  return KindOf<CaptureSource::Kind>(kCaptureWords, value, argument).value_or(CaptureSource::Kind::File);
}

PlaybackSink::Kind PlaybackKindOf(const std::string &value, std::string *argument) {
  return KindOf<PlaybackSink::Kind>(kPlaybackWords, value, argument).value_or(PlaybackSink::Kind::File);
}

const char kLiveDeviceWords[] = "live, live:NAME, jack or jack:PORT";

bool NamesLiveDevice(const std::string &value, bool capture) {
  std::string argument;
  if (capture) {
    CaptureSource source;
    source.kind = CaptureKindOf(value, &argument);
    return IsLive(source);
  }
  PlaybackSink sink;
  sink.kind = PlaybackKindOf(value, &argument);
  return IsLive(sink);
}

std::optional<ClockKind> ClockOf(const std::string &value) {
  std::string unused;
  return KindOf<ClockKind>(kClockWords, value, &unused);
}

std::string NameOf(const CaptureSource &s) {
  switch (s.kind) {
    case CaptureSource::Kind::File: return s.path;
    case CaptureSource::Kind::Custom: return "custom";
    case CaptureSource::Kind::Live:
    case CaptureSource::Kind::Jack: return WithArgument(WordOf<CaptureSource::Kind>(kCaptureWords, s.kind), s.device);
    case CaptureSource::Kind::Tone: {
      char hz[32];
      std::snprintf(hz, sizeof hz, "%g", s.toneHz);
      return WithArgument(WordOf<CaptureSource::Kind>(kCaptureWords, s.kind), hz);
    }
    default: return WordOf<CaptureSource::Kind>(kCaptureWords, s.kind);
  }
}

std::string NameOf(const PlaybackSink &s) {
  if (s.kind == PlaybackSink::Kind::File) return s.path;
  const std::string word = WordOf<PlaybackSink::Kind>(kPlaybackWords, s.kind);
  return WithArgument(word, IsLive(s) ? s.device : "");
}

std::string NameOf(ClockKind clock) { return WordOf<ClockKind>(kClockWords, clock); }

}  // namespace platform::wave
