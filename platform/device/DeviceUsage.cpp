#include "device/DeviceUsage.h"

#include "wave/AudioNames.h"

namespace platform::device {

namespace {

// Where an option's text begins.
constexpr size_t kTextColumn = 28;

// "  OPTION  text": the option in the first columns, its text's lines (apart
// by '\n') from kTextColumn on.
std::string Option(const std::string &option, const std::string &text) {
  std::string lines = "  " + option;
  lines.append(lines.size() + 2 <= kTextColumn ? kTextColumn - lines.size() : 2, ' ');
  for (char c : text) {
    lines += c;
    if (c == '\n') lines.append(kTextColumn, ' ');
  }
  return lines + "\n";
}

std::string DeviceOptionLines() {
  return Option("--screen window|headless",
                "show the screen in a desktop window (the default\nwhere a display opens) or only in memory") +
         Option("--scale N",
                "enlarge the window N times (default: the largest\nwhole factor that fits the desktop; one too "
                "large\ngives way to it, said on stderr)") +
         Option("--clock " + wave::ClockWords("|"),
                "run live, or as a fast repeatable simulation\n(default: real in a window or with live audio,\nelse virtual)") +
         Option("--capture SOURCE", wave::CaptureWords() +
                                        "\nor a sound file (default: live in a window, even\nbefore a microphone "
                                        "is there; headless, live\nwhere a microphone exists, else demo)") +
         Option("--playback SINK", wave::PlaybackWords() +
                                       " or FILE.wav (default:\nlive in a window; headless, live where an output\n"
                                       "device exists, else null)") +
         Option("--list-devices", "list the capture and playback devices, as the values\nthat choose them, and exit") +
         Option("--script FILE", "scripted input, one 'SECONDS ACTION [ARGS]' a line") +
         Option("--duration SECONDS",
                "quit at that time (headless default: the recording's\nlength plus 1 s, else 1 s after the script's "
                "last\nline, else 10 s)") +
         Option("--screenshot FILE.png", "write the screen at exit") +
         Option("--trace-text", "print each change of the screen's texts on stdout:\n"
                                "SECONDS<TAB>SOURCE<TAB>TEXT (line breaks as \\n)") +
         Option("-h, --help", "show this help and exit") + Option("-V, --version", "show the version and exit");
}

std::string ProgramOptionLines(const ProgramOptions &program) {
  if (program.options.empty()) return "";
  std::string lines = std::string("\n") + program.heading + "\n";
  for (const ProgramOption &o : program.options)
    lines += Option(std::string("--") + o.name + (o.value ? std::string(" ") + o.value : ""), o.help);
  if (program.more) lines += std::string("\n") + program.more;
  return lines;
}

}  // namespace

std::string DeviceUsage(const std::string &program, const ProgramOptions &programOptions) {
  return "Usage: " + program + " [OPTION]...\n"
         "Runs Drovane on an emulated phone: a 240x320 screen with a caption strip and\n"
         "two soft keys, a keypad, a stylus, a microphone and a speaker.\n"
         "\n" +
         DeviceOptionLines() + ProgramOptionLines(programOptions) +
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
