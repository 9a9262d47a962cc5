#pragma once

#include <jack/jack.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wave/CallbackGate.h"
#include "wave/JackLibrary.h"
#include "wave/LiveLink.h"
#include "win/wave.h"

namespace platform::wave {

// A live link as a JACK client of the running server (never one it starts):
// "PROGRAM-capture" with an input port "in", or "PROGRAM-playback" with an
// output port "out", at the server's rate. JACK's process thread hands the
// client its port's buffer as it is, through a gate (CallbackGate); with the
// gate shut an output plays silence. The server shutting down
// (jack_on_info_shutdown) makes the device gone.
class JackLink : public LiveLink {
 public:
  // Audio worker: the client, active, its port connected to `peer` (empty:
  // the first physical capture port, or the first two physical playback
  // ports, if any). Null, with the Win32 result and a message for the user,
  // when there is no JACK or no server, or `peer` is not a port to connect to.
  static std::unique_ptr<LiveLink> Open(bool capture, const std::string &peer, LinkClient *client, MMRESULT *result,
                                        std::string *error);
  // Audio worker: the client closes, its gate shut before (a client whose
  // server shut down is left unclosed: see the .cpp).
  ~JackLink() override;

  int Rate() const override { return rate_; }
  void Run(bool on) override;
  std::string Gone() override;

  // The ports of the running server's clients one could connect to: the
  // outputs (capture) and the inputs (playback).
  struct Ports {
    std::vector<std::string> capture, playback;
    std::string error;  // why there are none: no JACK, no server
  };
  // Audio worker: the ports of both directions at once.
  static Ports List();
  // Why a link of that direction cannot join `peer`, which is an output
  // port, an input port, or none (nullopt); "" when it can.
  static std::string Refusal(bool capture, const std::string &peer, std::optional<bool> output);

 private:
  JackLink(const JackCalls &jack, bool capture, LinkClient *client) : jack_(jack), capture_(capture), client_(client) {}
  bool Start(const std::string &peer, std::string *error);
  // Whether `peer` (empty: the physical ports) can be joined; before the
  // client runs, so that trying again for a port that is not there costs
  // the server little.
  bool CanJoin(const std::string &peer, std::string *error);
  bool Connect(const std::string &peer, std::string *error);
  static int Process(jack_nframes_t frames, void *self);
  static void Shutdown(jack_status_t code, const char *reason, void *self);

  const JackCalls &jack_;
  const bool capture_;
  LinkClient *const client_;
  jack_client_t *jackClient_ = nullptr;
  std::atomic<jack_port_t *> port_{nullptr};  // set once the client runs
  int rate_ = 0;
  CallbackGate gate_;
  std::atomic<bool> gone_{false};
  char reason_[256] = {};  // JACK's words, set before gone_
};

}  // namespace platform::wave
