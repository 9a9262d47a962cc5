#pragma once

// How the device's options become a running phone: the choices left open
// on the command line, the audio it selects and the moment it quits.
#include <string>
#include <vector>

#include "device/DeviceOptions.h"
#include "device/Script.h"

namespace platform::device {

// Fills the capture and playback choices left open for the chosen clock
// (live where such a device exists on the real clock, else the demo and no
// sound), with a note for the user in `notes` when the demo stands in.
void ChooseAudio(DeviceOptions *options, std::vector<std::string> *notes);
// False, with the reason, when live audio asked for by name (or at all)
// has no such device. Call it before ChooseAudio, whose live choices exist.
bool CheckLiveAudio(const DeviceOptions &options, std::string *error);
// Selects them for the wave devices the program opens.
void SelectAudio(const DeviceOptions &options);
// When a headless run quits by itself: the recording's length plus 1 s,
// else 1 s after the script's last line, else 10 s. False with the reason
// when the capture file cannot be read.
bool HeadlessDuration(const DeviceOptions &options, const std::vector<ScriptAction> &script, double *seconds,
                      std::string *error);

}  // namespace platform::device
