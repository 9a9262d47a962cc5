#pragma once

// How the device's options become a running phone's audio: the choices left
// open on the command line, what must be there before the run starts, and
// the source and sink selected for the program's devices. Program thread,
// with the phone running (CheckFiles: before it).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceOptions.h"
#include "device/Script.h"
#include "wave/DeviceListing.h"
#include "wave/RecordingStream.h"
#include "wave/SoundSink.h"

namespace platform::device {

// What became of the run's sound files, told as they are read or written.
struct AudioStatus {
  std::shared_ptr<const wave::RecordingStatus> recording;  // the capture source's, when a recording
  std::shared_ptr<const wave::WriteStatus> written;        // the playback sink's, when a WAV file
};

// Whether a run waits for its live devices: a window on the real clock
// starts without them, says so, and takes each as it comes. Any other run
// needs them from its start, and ends at once when one is not there.
bool WaitsForDevices(const DeviceOptions &options, bool window);
// The live devices CheckLiveAudio and ChooseAudio need to know of, listed
// once (SDL's, JACK's or both); none when neither needs any.
std::optional<wave::DeviceListing> ListForRun(const DeviceOptions &options, bool window);
// False, with the reason, when live audio asked for is not there: SDL's
// device (any, or the one named), or JACK's server or the port named. For a
// run that does not wait for its devices, before ChooseAudio, whose live
// choices exist; `listing` is ListForRun's.
bool CheckLiveAudio(const DeviceOptions &options, const wave::DeviceListing *listing, std::string *error);
// Fills the capture and playback choices left open for the chosen clock
// (live where SDL has such a device on the real clock, else the demo and no
// sound), with a note for the user in `notes` when the demo stands in. In a
// window on the real clock they are live whether or not a device is there
// yet, and every live device waits for its device.
void ChooseAudio(DeviceOptions *options, bool window, const wave::DeviceListing *listing,
                 std::vector<std::string> *notes);
// False, with the first reason, when a file named on the command line or in
// the script cannot be used: a capture file that is not there to read, a
// WAV sink or screenshot that cannot be written where it is to go. Only
// looked at, never opened or made: the capture device opens its file once
// (a pipe or a FIFO can be read only once), and a FIFO's reader is known
// only when it is opened.
bool CheckFiles(const DeviceOptions &options, const std::vector<ScriptAction> &script, std::string *error);
// Selects them for the wave devices the program opens, with open failures
// reported; the statuses of a recording (file or demo) and of a WAV sink.
AudioStatus SelectAudio(const DeviceOptions &options);

}  // namespace platform::device
