#pragma once

// How the device's options become a running phone's audio: the choices left
// open on the command line, what must be there before the run starts, and
// the source and sink selected for the program's devices. Program thread,
// with the phone running.
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceOptions.h"
#include "wave/RecordingStream.h"

namespace platform::device {

// False, with the reason, when live audio asked for by name (or at all)
// has no such device. Call it before ChooseAudio, whose live choices exist.
// A window on the real clock needs no check: it waits for its devices.
bool CheckLiveAudio(const DeviceOptions &options, std::string *error);
// Fills the capture and playback choices left open for the chosen clock
// (live where such a device exists on the real clock, else the demo and no
// sound), with a note for the user in `notes` when the demo stands in. In a
// window on the real clock they are live whether or not a device is there
// yet, and every live device waits for its device: the tuner starts without
// it, says so, and hears once it comes.
void ChooseAudio(DeviceOptions *options, bool window, std::vector<std::string> *notes);
// False, with the reason, when a capture file named on the command line is
// not there to read. Only looked at, never opened: the capture device opens
// it, once (a pipe or a FIFO can be read only once).
bool CheckCaptureFile(const DeviceOptions &options, std::string *error);
// Selects them for the wave devices the program opens, with open failures
// reported; the recording's status when the source is one (file or demo),
// filled in as it is heard.
std::shared_ptr<const wave::RecordingStatus> SelectAudio(const DeviceOptions &options);

}  // namespace platform::device
