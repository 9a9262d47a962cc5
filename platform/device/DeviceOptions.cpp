#include "device/DeviceOptions.h"

#include "base/ParseNumber.h"
#include "device/Script.h"
#include "wave/AudioNames.h"

namespace platform::device {

namespace {

using wave::CaptureSource;
using wave::PlaybackSink;

// A --capture value: a source's word, else a sound file.
bool ParseCapture(const std::string &value, std::optional<CaptureSource> *out) {
  CaptureSource s;
  std::string argument;
  s.kind = wave::CaptureKindOf(value, &argument);
  if (s.kind == CaptureSource::Kind::Tone) {
    const std::optional<double> hz = cli::ParseNumber(argument, 20, 10000);
    if (!hz) return false;
    s.toneHz = *hz;
  }
  if (wave::IsLive(s)) s.device = argument;
  if (s.kind == CaptureSource::Kind::File) s.path = argument;
  *out = s;
  return !value.empty();
}

// A --playback value: a sink's word, else a WAV file.
bool ParsePlayback(const std::string &value, std::optional<PlaybackSink> *out) {
  PlaybackSink s;
  std::string argument;
  s.kind = wave::PlaybackKindOf(value, &argument);
  if (wave::IsLive(s)) s.device = argument;
  if (s.kind == PlaybackSink::Kind::File) s.path = argument;
  *out = s;
  return s.kind != PlaybackSink::Kind::File || value.ends_with(".wav") || value.ends_with(".WAV");
}

bool ParseScreen(const std::string &value, std::optional<DeviceOptions::Screen> *out) {
  if (value != "window" && value != "headless") return false;
  *out = value == "window" ? DeviceOptions::Screen::Window : DeviceOptions::Screen::Headless;
  return true;
}

template <class T>
bool Set(std::optional<T> found, std::optional<T> *out) {
  if (found) *out = found;
  return found.has_value();
}

// The program's options go into programArgs as they come; the program
// checks them once all are read.
void AddProgramOptions(cli::CommandLine &line, const ProgramOptions &program, std::vector<std::string> *args) {
  for (const ProgramOption &o : program.options) {
    const std::string name = std::string("--") + o.name;
    if (!o.value) {
      line.Flag(o.name, [args, name] { args->push_back(name); });
      continue;
    }
    line.Value(o.name, o.value, [args, name](const std::string &v) {
      args->insert(args->end(), {name, v});
      return true;
    });
  }
}

}  // namespace

cli::Outcome DeviceOptions::Parse(int argc, const char *const *argv, const ProgramOptions &program,
                                  std::string *error) {
  cli::CommandLine line;
  line.Value("screen", "window or headless", [this](const std::string &v) { return ParseScreen(v, &screen); });
  line.Value("scale", "a whole number from 1 to 16", [this](const std::string &v) {
    scale = static_cast<int>(cli::ParseWholeNumber(v, 1, 16).value_or(0));
    return scale != 0;
  });
  line.Value("clock", wave::ClockWords(" or "), [this](const std::string &v) { return Set(wave::ClockOf(v), &clock); });
  // The range belongs to tone:HZ, the table's last word.
  line.Value("capture", wave::CaptureWords() + " (20 to 10000) or a sound file",
             [this](const std::string &v) { return ParseCapture(v, &capture); });
  line.Value("playback", wave::PlaybackWords(", ") + " or a FILE.wav",
             [this](const std::string &v) { return ParsePlayback(v, &playback); });
  line.Flag("list-devices", [this] { listDevices = true; });
  line.Value("script", "a file name", [this](const std::string &v) {
    script = v;
    return !v.empty();
  });
  line.Value("duration", "seconds, " + SecondsRange(),
             [this](const std::string &v) { return Set(cli::ParseNumber(v, 0, kLongestRunSeconds), &duration); });
  line.Value("screenshot", "a FILE.png", [this](const std::string &v) {
    screenshot = v;
    return v.ends_with(".png") || v.ends_with(".PNG");
  });
  line.Flag("trace-text", [this] { traceText = true; });
  AddProgramOptions(line, program, &programArgs);
  const cli::Outcome outcome = line.Parse(argc, argv);
  *error = line.Error();
  if (outcome != cli::Outcome::kRun) return outcome;
  if (clock == ClockKind::Virtual && Live())
    *error = "live audio follows the sound card, not the virtual clock: use --clock real";
  else if (screen == Screen::Headless && scale)
    *error = "--scale is for the window; a headless screen has none";
  else if (program.check && !program.check(programArgs, error))
    return cli::Outcome::kUsageError;
  return error->empty() ? cli::Outcome::kRun : cli::Outcome::kUsageError;
}

}  // namespace platform::device
