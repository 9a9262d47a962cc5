#include "wave/JackLink.h"

#include <errno.h>

#include <algorithm>
#include <cstring>

namespace platform::wave {

namespace {

// A JACK client the listing makes, with no port of its own.
jack_client_t *OpenClient(const JackCalls &jack, const std::string &name, std::string *error) {
  jack_status_t status{};
  jack_client_t *client = jack.client_open(name.c_str(), JackNoStartServer, &status);
  if (!client) *error = status & JackServerFailed ? "no JACK server is running" : "the JACK server refused a client";
  return client;
}

// The ports `flags` selects, by their names.
std::vector<std::string> PortNames(const JackCalls &jack, jack_client_t *client, unsigned long flags) {
  std::vector<std::string> names;
  if (const char **ports = jack.get_ports(client, nullptr, JACK_DEFAULT_AUDIO_TYPE, flags)) {
    for (const char **p = ports; *p; ++p) names.emplace_back(*p);
    jack.free(ports);
  }
  return names;
}

}  // namespace

std::unique_ptr<LiveLink> JackLink::Open(bool capture, const std::string &peer, LinkClient *client, MMRESULT *result,
                                         std::string *error) {
  std::string why;
  const JackCalls *jack = LoadJack(&why);
  std::unique_ptr<JackLink> link(jack ? new JackLink(*jack, capture, client) : nullptr);
  if (link && link->Start(peer, &why)) return link;
  *result = jack ? MMSYSERR_BADDEVICEID : MMSYSERR_NODRIVER;
  *error = std::string("no ") + (capture ? "audio capture device" : "audio output device") + " jack" +
           (peer.empty() ? "" : ":" + peer) + ": " + why;
  return nullptr;
}

bool JackLink::Start(const std::string &peer, std::string *error) {
  const std::string name = std::string(program_invocation_short_name) + (capture_ ? "-capture" : "-playback");
  jackClient_ = OpenClient(jack_, name, error);
  if (!jackClient_ || !CanJoin(peer, error)) return false;
  rate_ = static_cast<int>(jack_.get_sample_rate(jackClient_));
  jack_.set_process_callback(jackClient_, &JackLink::Process, this);
  jack_.on_info_shutdown(jackClient_, &JackLink::Shutdown, this);
  if (jack_.activate(jackClient_) != 0) {
    *error = "the JACK server would not run the client";
    return false;
  }
  // Registered once the client runs, so that whoever sees the port can
  // connect to it at once.
  jack_port_t *port = jack_.port_register(jackClient_, capture_ ? "in" : "out", JACK_DEFAULT_AUDIO_TYPE,
                                          capture_ ? JackPortIsInput : JackPortIsOutput, 0);
  if (!port) {
    *error = "the JACK server refused a port";
    return false;
  }
  port_.store(port, std::memory_order_release);
  return Connect(peer, error);
}

bool JackLink::CanJoin(const std::string &peer, std::string *error) {
  if (peer.empty()) return true;
  std::optional<bool> output;
  if (jack_port_t *port = jack_.port_by_name(jackClient_, peer.c_str()))
    output = (jack_.port_flags(port) & JackPortIsOutput) != 0;
  *error = Refusal(capture_, peer, output);
  return error->empty();
}

std::string JackLink::Refusal(bool capture, const std::string &peer, std::optional<bool> output) {
  if (!output) return "no JACK port is called '" + peer + "'";
  if (*output == capture) return "";
  return capture ? "the JACK port '" + peer + "' takes sound in: capture joins an output port"
                 : "the JACK port '" + peer + "' gives sound out: playback joins an input port";
}

bool JackLink::Connect(const std::string &peer, std::string *error) {
  const std::string own = jack_.port_name(port_.load(std::memory_order_relaxed));
  std::vector<std::string> peers{peer};
  if (peer.empty()) {
    peers = PortNames(jack_, jackClient_, JackPortIsPhysical | (capture_ ? JackPortIsOutput : JackPortIsInput));
    peers.resize(std::min<size_t>(peers.size(), capture_ ? 1 : 2));
  }
  for (const std::string &p : peers) {
    const int r = capture_ ? jack_.connect(jackClient_, p.c_str(), own.c_str())
                           : jack_.connect(jackClient_, own.c_str(), p.c_str());
    if (r != 0 && r != EEXIST) {
      *error = "the JACK port '" + p + "' could not be connected to " + own;
      return false;
    }
  }
  return true;
}

// Closing deactivates the client. A client whose server has shut down is
// left as it is: libjack closing it then (with a second client of ours on
// the same server) crashes in jack_client_close, one time in a few; what is
// left is a few kilobytes for each time the server goes away.
JackLink::~JackLink() {
  gate_.Close();
  if (jackClient_ && !gone_.load(std::memory_order_acquire)) jack_.client_close(jackClient_);
}

void JackLink::Run(bool on) {
  if (on)
    gate_.Open();
  else
    gate_.Close();
}

std::string JackLink::Gone() {
  if (!gone_.load(std::memory_order_acquire)) return "";
  return std::string("the JACK server went away: ") + reason_;
}

JackLink::Ports JackLink::List() {
  Ports ports;
  const JackCalls *jack = LoadJack(&ports.error);
  if (!jack) return ports;
  jack_client_t *client = OpenClient(*jack, std::string(program_invocation_short_name) + "-list", &ports.error);
  if (!client) return ports;
  ports.capture = PortNames(*jack, client, JackPortIsOutput);
  ports.playback = PortNames(*jack, client, JackPortIsInput);
  jack->client_close(client);
  return ports;
}

// JACK's process thread: one period.
int JackLink::Process(jack_nframes_t frames, void *self) {
  JackLink &link = *static_cast<JackLink *>(self);
  jack_port_t *port = link.port_.load(std::memory_order_acquire);
  if (!port) return 0;
  auto *buffer = static_cast<float *>(link.jack_.port_get_buffer(port, frames));
  if (!link.gate_.Enter()) {
    if (!link.capture_) std::fill_n(buffer, frames, 0.0f);
    return 0;
  }
  ServerBuffer samples;
  samples.floats = buffer;
  samples.count = frames;
  link.client_->Exchange(samples);
  link.gate_.Leave();
  return 0;
}

// A thread of libjack's, once the server has gone.
void JackLink::Shutdown(jack_status_t, const char *reason, void *self) {
  JackLink &link = *static_cast<JackLink *>(self);
  std::strncpy(link.reason_, reason ? reason : "", sizeof link.reason_ - 1);
  link.gone_.store(true, std::memory_order_release);
}

}  // namespace platform::wave
