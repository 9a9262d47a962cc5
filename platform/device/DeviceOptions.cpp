#include "device/DeviceOptions.h"

#include <cmath>
#include <cstdlib>
#include <map>

namespace platform::device {

namespace {

bool Number(const std::string &text, double low, double high, double *value) {
  char *end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end || !std::isfinite(v) || v < low || v > high) return false;
  *value = v;
  return true;
}

template <class E>
bool Choice(const std::string &text, const std::map<std::string, E> &names, std::optional<E> *out) {
  auto it = names.find(text);
  if (it == names.end()) return false;
  *out = it->second;
  return true;
}

bool ParseCapture(const std::string &v, DeviceOptions *o) {
  using C = DeviceOptions::Capture;
  if (v == "live" || v.starts_with("live:")) {
    o->capture = C::Live;
    o->captureDevice = v.size() > 5 ? v.substr(5) : "";
  } else if (v == "demo" || v == "silence") {
    o->capture = v == "demo" ? C::Demo : C::Silence;
  } else if (v.starts_with("tone:")) {
    o->capture = C::Tone;
    return Number(v.substr(5), 20, 10000, &o->toneHz);
  } else {
    o->capture = C::File;
    o->capturePath = v;
  }
  return !v.empty();
}

bool ParsePlayback(const std::string &v, DeviceOptions *o) {
  using P = DeviceOptions::Playback;
  if (v == "live" || v.starts_with("live:")) {
    o->playback = P::Live;
    o->playbackDevice = v.size() > 5 ? v.substr(5) : "";
  } else if (v == "null") {
    o->playback = P::Null;
  } else {
    o->playback = P::File;
    o->playbackPath = v;
    return v.ends_with(".wav") || v.ends_with(".WAV");
  }
  return true;
}

// One option with its value; false with the message when the value is bad.
bool Apply(const std::string &name, const std::string &v, DeviceOptions *o, std::string *error) {
  using S = DeviceOptions::Screen;
  using K = DeviceOptions::Clock;
  bool ok = true;
  std::string expected;
  if (name == "--screen") {
    ok = Choice<S>(v, {{"window", S::Window}, {"headless", S::Headless}}, &o->screen);
    expected = "window or headless";
  } else if (name == "--clock") {
    ok = Choice<K>(v, {{"real", K::Real}, {"virtual", K::Virtual}}, &o->clock);
    expected = "real or virtual";
  } else if (name == "--scale") {
    double s = 0;
    ok = Number(v, 1, 16, &s) && s == std::floor(s);
    o->scale = static_cast<int>(s);
    expected = "a whole number from 1 to 16";
  } else if (name == "--capture") {
    ok = ParseCapture(v, o);
    expected = "live[:NAME], demo, silence, tone:HZ (20 to 10000) or a sound file";
  } else if (name == "--playback") {
    ok = ParsePlayback(v, o);
    expected = "live[:NAME], null or a FILE.wav";
  } else if (name == "--duration") {
    double d = 0;
    ok = Number(v, 0, 1e6, &d);
    o->duration = d;
    expected = "seconds, 0 or more";
  } else if (name == "--script") {
    o->script = v;
    ok = !v.empty();
    expected = "a file name";
  } else if (name == "--screenshot") {
    o->screenshot = v;
    ok = v.ends_with(".png") || v.ends_with(".PNG");
    expected = "a FILE.png";
  }
  if (!ok) *error = "invalid value '" + v + "' for " + name + " (expected " + expected + ")";
  return ok;
}

bool TakesValue(const std::string &name) {
  for (const char *n : {"--screen", "--scale", "--clock", "--capture", "--playback", "--script", "--duration",
                        "--screenshot"})
    if (name == n) return true;
  return false;
}

}  // namespace

bool DeviceOptions::Parse(int argc, const char *const *argv, std::string *error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i], value;
    const size_t equals = arg.find('=');
    const bool inlineValue = arg.starts_with("--") && equals != std::string::npos;
    if (inlineValue) {
      value = arg.substr(equals + 1);
      arg.resize(equals);
    }
    if (TakesValue(arg)) {
      if (!inlineValue && i + 1 >= argc) {
        *error = "option '" + arg + "' needs a value";
        return false;
      }
      if (!Apply(arg, inlineValue ? value : argv[++i], this, error)) return false;
    } else if (inlineValue) {
      *error = "option '" + arg + "' takes no value";
      return false;
    } else if (arg == "--trace-text") {
      traceText = true;
    } else if (arg == "--precise") {
      precise = true;
    } else if (arg == "--list-devices") {
      listDevices = true;
    } else if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--version" || arg == "-V") {
      version = true;
    } else {
      *error = (arg.starts_with("-") ? "unknown option '" : "unexpected argument '") + arg + "'";
      return false;
    }
  }
  const bool liveAudio = capture == Capture::Live || playback == Playback::Live;
  if (clock == Clock::Virtual && liveAudio) {
    *error = "live audio follows the sound card, not the virtual clock: use --clock real";
    return false;
  }
  if (screen == Screen::Headless && scale) {
    *error = "--scale is for the window; a headless screen has none";
    return false;
  }
  return true;
}

std::string DeviceUsage(const std::string &program) {
  return "Usage: " + program + " [OPTION]...\n"
         "Runs Drovane on an emulated phone: a 240x320 screen with a caption strip and\n"
         "two soft keys, a keypad, a stylus, a microphone and a speaker.\n"
         "\n"
         "  --screen window|headless  show the screen in a desktop window (the default\n"
         "                            where a display opens) or only in memory\n"
         "  --scale N                 enlarge the window N times (default: the largest\n"
         "                            whole factor that fits the desktop)\n"
         "  --clock real|virtual      run live, or as a fast repeatable simulation\n"
         "                            (default: real in a window, virtual headless)\n"
         "  --capture SOURCE          live[:NAME], demo, silence, tone:HZ or a sound file\n"
         "                            (default: live where a microphone exists, else demo)\n"
         "  --playback SINK           live[:NAME], null or FILE.wav (default: live where\n"
         "                            an output device exists, else null)\n"
         "  --precise                 measure the pitch more finely than the phone did\n"
         "                            (within a fraction of a cent); this departs from\n"
         "                            the phone's estimator, whose readings are the default\n"
         "  --list-devices            list the capture and playback devices and exit\n"
         "  --script FILE             scripted input, one 'SECONDS ACTION [ARGS]' a line\n"
         "  --duration SECONDS        quit at that time (headless default: the recording's\n"
         "                            length plus 1 s, else 1 s after the script's last\n"
         "                            line, else 10 s)\n"
         "  --screenshot FILE.png     write the screen at exit\n"
         "  --trace-text              print each change of the screen's texts on stdout:\n"
         "                            SECONDS<TAB>SOURCE<TAB>TEXT (line breaks as \\n)\n"
         "  -h, --help                show this help and exit\n"
         "  -V, --version             show the version and exit\n"
         "\n"
         "Script actions (times in seconds on the device's clock, '#' starts a comment):\n"
         "  key NAME, keydown NAME, keyup NAME   NAME: 0-9 up down left right enter back\n"
         "                                       softleft softright\n"
         "  tap X Y, press X Y, release X Y      the stylus, in screen pixels\n"
         "  screenshot FILE.png                  the screen as it is then\n"
         "  quit                                 close the program's window\n"
         "\n"
         "In the window: digits, arrows and Enter are the keypad; F1 and F2 the soft\n"
         "keys; Escape and Backspace the Back key; the mouse is the stylus.\n"
         "\n"
         "Exit status: the program's (0), 1 when the device cannot run as asked (no\n"
         "display, an unreadable script, a screenshot not written), 2 on a usage error\n"
         "or a malformed script.\n";
}

}  // namespace platform::device
