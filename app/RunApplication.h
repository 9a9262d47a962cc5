#pragma once

#include "TunerOptions.h"
#include "win/window.h"

// The whole life of the tuner: builds and wires every long-lived object,
// creates the main window, starts both audio devices, runs the event loop
// until the user quits, then shuts down in order. Returns the exit status:
// 0, or 1 (with a line on stderr) when the window class or the main window
// cannot be made. Devices that cannot be opened leave the tuner running
// without pitch or without tone. Program thread; one run at a time.
int RunApplication(HINSTANCE instance, const TunerOptions &options = {});
