#pragma once

// --list-devices of the tools: the live devices of the tool's direction,
// one a line, as the words --capture or --playback take (the tuner's own
// words). False, with the reason, when there is none to list.
#include <string>

bool ListDevices(bool capture, std::string *error);
