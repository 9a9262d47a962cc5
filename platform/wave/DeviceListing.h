#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform::wave {

// The live devices there are, asked of SDL and of JACK at once, each on its
// own audio worker, and waited for together at most the open time
// (LiveTimings): a sound server that does not answer holds up neither the
// other nor the caller for longer. Made on the program thread of the running
// phone.
class DeviceListing {
 public:
  // What one kind of sound server told, by direction.
  struct Answer {
    bool asked = false;
    bool answered = false;  // within the open time
    std::vector<std::string> capture, playback;
    std::string error;   // why it could list nothing: no audio system, no JACK server
    std::string driver;  // SDL's: the backend its audio ran on

    const std::vector<std::string> &Names(bool ofCapture) const { return ofCapture ? capture : playback; }
  };

  // Asks those chosen.
  DeviceListing(bool sdl, bool jack);

  const Answer &Sdl() const { return sdl_; }
  const Answer &Jack() const { return jack_; }
  // Every device of a direction as the word that chooses it: SDL's as
  // "live:NAME", then JACK's ports as "jack:PORT".
  std::vector<std::string> Words(bool capture) const;
  // Why there is no device of a direction: "no audio capture device found:
  // " and each server's reason ("no sound server answered (...)").
  std::string NoneFound(bool capture) const;
  // Why SDL (or JACK) has none of a direction, in a few words.
  std::string SdlHasNone(bool capture) const;
  std::string JackHasNone(bool capture) const;
  // Why a JACK link of that direction cannot join `port` (empty: the
  // physical ports), in a few words; "" when it can.
  std::string JackRefusal(bool capture, const std::string &port) const;
  // What a listing of the directions asked for tells the user on stderr:
  // for a direction with no device, NoneFound; for a server that did not
  // answer while the directions have devices, that its are missing.
  std::vector<std::string> Problems(bool capture, bool playback) const;

 private:
  // "the sound server did not answer within 2 s"
  std::string Unanswered(const char *server) const;

  Answer sdl_, jack_;
  std::chrono::milliseconds bound_;
};

}  // namespace platform::wave
