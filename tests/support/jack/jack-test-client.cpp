// jack-test-client: plays a known tone into JACK ports, or records what a
// JACK port sends, for tests of programs that are JACK clients.
//
//   jack-test-client play --frequency HZ --amplitude A --seconds S
//                         [--name NAME] [--connect INPUT]...
//   jack-test-client record --seconds S --out FILE.wav
//                           [--name NAME] [--connect OUTPUT]...
//
// The tone starts, and the recording begins, on the first period the port is
// connected. Once connected it prints "playing NAME:out at RATE Hz" (or
// "recording NAME:in at RATE Hz"); at the end "played N frames" (or
// "recorded N frames to FILE"). Ctrl-C or SIGTERM ends it early (a recording
// keeps what it has). Exit status: 0 done, 1 no server, a port that never
// appeared, or the server went away, 2 usage.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "JackTestClient.h"
#include "PlayedTone.h"
#include "PortRecording.h"

namespace {

struct Options {
  bool play = false;
  std::string name, out;
  double frequency = 0, amplitude = 0, seconds = 0;
  std::vector<std::string> peers;
};

bool Number(const char *text, double *value) {
  char *end = nullptr;
  *value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

bool Parse(int argc, char **argv, Options *o) {
  if (argc < 2) return false;
  o->play = std::string(argv[1]) == "play";
  if (!o->play && std::string(argv[1]) != "record") return false;
  o->name = o->play ? "tone" : "recorder";
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const char *value = argv[i + 1];
    const bool ok = option == "--name"        ? (o->name = value, true)
                    : option == "--out"       ? (o->out = value, true)
                    : option == "--connect"   ? (o->peers.emplace_back(value), true)
                    : option == "--frequency" ? Number(value, &o->frequency)
                    : option == "--amplitude" ? Number(value, &o->amplitude)
                    : option == "--seconds"   ? Number(value, &o->seconds)
                                              : false;
    if (!ok) return false;
  }
  const bool complete = o->play ? o->frequency > 0 && o->amplitude > 0 && o->amplitude <= 1 : !o->out.empty();
  return argc % 2 == 0 && o->seconds > 0 && complete;
}

int Failed(const std::string &why) {
  std::fprintf(stderr, "jack-test-client: %s\n", why.c_str());
  return 1;
}

// Starts `work` on the client's port and connects it to the peers asked for.
bool Connected(JackTestClient &client, std::unique_ptr<PortWork> work, const Options &o) {
  if (!client.Activate(std::move(work))) return false;
  for (const std::string &peer : o.peers)
    if (!client.Connect(peer)) return false;
  std::printf("%s %s at %u Hz\n", o.play ? "playing" : "recording", client.PortName().c_str(), client.Rate());
  return true;
}

int Play(JackTestClient &client, const Options &o, jack_nframes_t length) {
  auto owned = std::make_unique<PlayedTone>(o.frequency, o.amplitude, length, client.Rate());
  const PlayedTone *tone = owned.get();
  if (!Connected(client, std::move(owned), o)) return Failed(client.Why());
  const JackTestClient::End end = client.Wait();
  std::printf("played %u frames\n", tone->Played());
  return end == JackTestClient::End::ServerGone ? Failed(client.Why()) : 0;
}

int Record(JackTestClient &client, const Options &o, jack_nframes_t length) {
  auto owned = std::make_unique<PortRecording>(length, client.Rate());
  const PortRecording *recording = owned.get();
  if (!Connected(client, std::move(owned), o)) return Failed(client.Why());
  const JackTestClient::End end = client.Wait();
  std::string error;
  if (!recording->Write(o.out, &error)) return Failed(error);
  std::printf("recorded %u frames to %s\n", recording->Recorded(), o.out.c_str());
  return end == JackTestClient::End::ServerGone ? Failed(client.Why()) : 0;
}

}  // namespace

int main(int argc, char **argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each line reaches the test as it is printed
  Options o;
  if (!Parse(argc, argv, &o)) {
    std::fprintf(stderr,
                 "usage: jack-test-client play --frequency HZ --amplitude A --seconds S [--name NAME] [--connect "
                 "INPUT]...\n       jack-test-client record --seconds S --out FILE.wav [--name NAME] [--connect "
                 "OUTPUT]...\n");
    return 2;
  }
  JackTestClient client(o.name, o.play);
  if (!client.Ok()) return Failed(client.Why());
  const auto length = static_cast<jack_nframes_t>(o.seconds * client.Rate() + 0.5);
  return o.play ? Play(client, o, length) : Record(client, o, length);
}
