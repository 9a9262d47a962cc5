#pragma once

// --list-devices of the tools: the live devices of the tool's direction,
// one a line, as the words --capture or --playback take (the tuner's own
// words), and on stderr what kept the list short (a sound server that did
// not answer). False, with why, when there is none.
#include <string>

bool ListDevices(bool capture, std::string *error);
