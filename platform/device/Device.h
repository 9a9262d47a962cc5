#pragma once

// The phone's start: main() of every program built on the platform. Parses
// the device's options (the program's own go to WinMain's command line),
// makes the phone with its clock, capture source, playback sink and screen
// (a desktop window or headless), runs the script, then calls the program's
// WinMain and returns its result: 1 instead when the device could not run as
// asked (an input or output that failed, stdout included), 2 on a usage
// error. A run that INT, TERM or HUP ended in order does not return: the
// process ends as that signal ends it. Program thread: the caller's.
namespace platform::device {

int RunDevice(int argc, char **argv);

}  // namespace platform::device
