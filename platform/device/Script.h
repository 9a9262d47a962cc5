#pragma once

// A script of input for the device: lines "SECONDS ACTION [ARGS]", blank
// lines and '#' comments ignored. Parsed whole before anything runs.
#include <string>
#include <vector>

#include "win/types.h"

namespace platform::device {

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
// (1: the file cannot be read; 2: a line is malformed) with the reason.
int ReadScriptFile(const std::string &path, std::vector<ScriptAction> *actions, std::string *error);

// The phone key a script (or the help) names: "0".."9", "up", "down", "left",
// "right", "enter", "back", "softleft", "softright"; 0 for any other.
UINT KeyByName(const std::string &name);

}  // namespace platform::device
