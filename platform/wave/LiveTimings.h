#pragma once

#include <chrono>

namespace platform::wave {

// How long the live drivers wait on sound servers, and how often they look
// and try again. A phone's defaults; a test may shorten them.
struct LiveTimings {
  using Ms = std::chrono::milliseconds;

#ifdef __SANITIZE_THREAD__
  // The thread checker slows SDL's start (its backends probed, libraries
  // loaded) past two seconds on a busy machine.
  static constexpr int kOpenScale = 5;
#else
  static constexpr int kOpenScale = 1;
#endif

  // An open or a list that has not finished by then is left to finish on
  // its own: a server that accepts a connection but never answers (stopped,
  // or PipeWire without its session manager) would hold it for ever. Opening
  // takes a few tens of milliseconds on a desktop; two seconds leave room
  // for a Bluetooth headset changing profile.
  Ms open{2000 * kOpenScale};
  // The whole tear-down of the live devices at the phone's end (and before
  // the window goes): closes that have not finished by then are left.
  Ms close{2000};
  // A running device that exchanged no sound for this long is lost: servers
  // call back every 10 to 100 ms, and a busy machine (two cores fully
  // loaded) delays a call by milliseconds, so a second is never a pause of
  // a working device; it is also short enough that the player is told
  // before wondering. Capture counts silence from the last sound heard.
  Ms stall{1000};
  // Before its first sound, and for this long after it started, a device
  // may take longer: a PulseAudio null sink asks for its first sound (or
  // for more after a first fill) two seconds after a stream starts. A device
  // opened again that stays silent this long (a suspended microphone) is closed
  // and opened once more.
  Ms start{5000};
  // How often an open device is looked at for a loss (a disconnect SDL has
  // seen, a JACK shutdown; a stall, while it runs): at the first hand-over
  // of its sound after, or one more period on when it hands nothing over.
  Ms watch{250};
  // The pauses between attempts to open a lost device again, the last
  // repeated: a failed attempt costs a millisecond or two (a refused
  // connection), so trying four times a second costs nothing worth saving,
  // and the device is taken within a quarter of a second of its return.
  Ms retry[4] = {Ms{100}, Ms{150}, Ms{200}, Ms{250}};
};

}  // namespace platform::wave
