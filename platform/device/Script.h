#pragma once

// A script of input for the device: lines "SECONDS ACTION [ARGS]", blank
// lines and '#' comments ignored. Parsed whole before anything runs, in
// time linear in its length. Messages quote what the script says safely
// (cli::Quoted), whatever bytes it holds.
#include <string>
#include <vector>

#include "win/types.h"

namespace platform::device {

// The latest time a script may name: the longest run --duration allows
// (11.6 days), well inside the clock's range (292 years of nanoseconds).
inline constexpr double kLongestRunSeconds = 1e6;
// "from 0 to 1000000", for messages.
std::string SecondsRange();

// The longest script read: about 150,000 lines of the shortest actions,
// some 35 MB once parsed and scheduled, far more than a script written by
// hand or for a test needs. A file given by mistake (a recording,
// /dev/zero) is refused instead of being read without end.
inline constexpr size_t kLongestScriptBytes = 1 << 20;

struct ScriptAction {
  enum class Kind { Key, KeyDown, KeyUp, Tap, Press, Release, Screenshot, Quit };
  double seconds = 0;
  Kind kind = Kind::Quit;
  UINT key = 0;       // key actions: the phone's virtual-key code
  int x = 0, y = 0;   // stylus actions: screen pixels
  std::string file;   // screenshot
};

// The actions in time order (equal times in script order), or false with
// "line N: why" in `error` for the first malformed line.
bool ParseScript(const std::string &text, std::vector<ScriptAction> *actions, std::string *error);

// The script in the file at `path`: 0 with its actions, else the exit status
// (1: the file cannot be read; 2: it is too long, or a line is malformed)
// with the reason.
int ReadScriptFile(const std::string &path, std::vector<ScriptAction> *actions, std::string *error);

// The phone key a script (or the help) names: "0".."9", "up", "down", "left",
// "right", "enter", "back", "softleft", "softright"; 0 for any other.
UINT KeyByName(const std::string &name);

}  // namespace platform::device
