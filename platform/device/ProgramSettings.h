#pragma once

// Choices the device's command line makes for the program itself. The
// program's WinMain takes no arguments, as on the phone, so it reads them
// here during start-up. Program thread; fixed before WinMain is called.
namespace platform::device {

// Whether the program should measure with its precise estimator instead of
// the phone's (--precise).
bool PreciseMeasuring();
void SetPreciseMeasuring(bool precise);

}  // namespace platform::device
