#pragma once

// A PipeWire server of a test's own, as a desktop runs one: pipewire with its
// session manager wireplumber (which links streams to devices) on a private
// session bus, and pipewire-pulse when asked, so that PulseAudio clients
// (SDL's pulseaudio backend, pactl, paplay) reach it too.
//
// It holds two devices, made by its configuration as it starts: the sink
// "drovane-out" (a null sink) and the source "drovane-mic", a loopback that
// hears what is played into the sink. Both are the defaults. SDL's pipewire
// backend lists only nodes of class Audio/Sink or Audio/Source with both a
// description and an object path, and cannot record a sink's monitor; hence
// the loopback rather than a null sink's monitor or a virtual source.
// wireplumber's device monitors are off, so a developer's sound card stays
// out of the test.
//
// Everything is stopped by the pid it was started with; Stop() and Start()
// end and bring back pipewire with its session manager and PulseAudio layer
// while the bus stays, as a desktop's sound server restarts.
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "RuntimeFolder.h"
#include "ServerProcess.h"

class PipeWireServer {
 public:
  static constexpr const char *kSink = "drovane-out";
  static constexpr const char *kSinkName = "Drovane test output";
  static constexpr const char *kSource = "drovane-mic";
  static constexpr const char *kSourceName = "Drovane test microphone";

  explicit PipeWireServer(bool pulse = false)
      : folder_("pipewire"),
        pulse_(pulse),
        bus_("dbus-daemon", {"--session", "--nofork", "--print-address=1", "--address=unix:path=" + folder_ / "bus"},
             folder_ / "dbus.log", true),
        pipewire_("pipewire", {}, folder_ / "pipewire.log"),
        wireplumber_("wireplumber", {}, folder_ / "wireplumber.log"),
        pipewirePulse_("pipewire-pulse", {}, folder_ / "pipewire-pulse.log") {
    why_ = folder_.Ok() ? MissingProgram({"pw-cli", "pw-link", "pw-metadata", pulse ? "pactl" : "pw-cat"})
                        : "no private runtime folder could be made";
    if (why_.empty() && !WriteConfiguration()) why_ = "the servers' configuration could not be written";
    if (why_.empty() && !bus_.Start({}, [this] { return bus_.ReadLine(&busAddress_); })) why_ = bus_.Why();
    if (why_.empty()) Start();
  }
  ~PipeWireServer() {
    Stop();
    bus_.Stop();
  }

  // Starts pipewire, wireplumber and (when asked) pipewire-pulse, again after
  // Stop(), each asked until it answers; false with the reason in Why().
  bool Start() {
    why_ = bus_.Running() ? "" : "the session bus is not running";
    if (!why_.empty() || !Begin(pipewire_, [this] { return Run("pw-cli", {"info", "0"}) == 0; })) return false;
    if (!Begin(wireplumber_, [this] { return DevicesReady(); })) return false;
    return !pulse_ || Begin(pipewirePulse_, [this] { return Run("pactl", {"info"}) == 0; });
  }
  // Sends `signal` to the pids of pipewire and its companions and reaps them.
  void Stop(int signal = SIGTERM) {
    for (ServerProcess *server : {&pipewirePulse_, &wireplumber_, &pipewire_}) server->Stop(signal);
  }
  pid_t Pid() const { return pipewire_.Pid(); }

  bool Ok() const { return why_.empty(); }
  const std::string &Why() const { return why_; }
  const std::string &Dir() const { return folder_.Path(); }

  // "NAME=value" settings that send clients here: PipeWire's own (pw-cat,
  // SDL_AUDIODRIVER=pipewire) and PulseAudio's (pactl, paplay, SDL's
  // pulseaudio backend, which a caller's own SDL_AUDIODRIVER before these
  // chooses).
  std::vector<std::string> Env() const {
    return {"XDG_RUNTIME_DIR=" + Dir(),
            "PIPEWIRE_RUNTIME_DIR=" + Dir(),
            "HOME=" + Dir(),
            "XDG_CONFIG_HOME=" + folder_ / "config",
            "XDG_STATE_HOME=" + folder_ / "state",
            "DBUS_SESSION_BUS_ADDRESS=" + busAddress_,
            "PULSE_SERVER=unix:" + folder_ / "pulse/native",
            "SDL_AUDIODRIVER=pipewire"};
  }
  // The same for this process.
  void UseHere() const { UseEnvironment(Env()); }

  // Runs a client (pw-cli, pw-cat, pactl, ...) with `args`; its status, and
  // its output lines in `out`.
  int Run(const std::string &name, const std::vector<std::string> &args,
          std::vector<std::string> *out = nullptr) const {
    return folder_.Run(name, args, Env(), out);
  }

 private:
  bool Begin(ServerProcess &server, const std::function<bool()> &answers) {
    if (!server.Start(Env(), answers)) why_ = server.Why();
    return why_.empty();
  }

  // The session manager has made the defaults and linked the microphone's
  // loopback to the sink's monitor.
  bool DevicesReady() const {
    std::vector<std::string> links, source;
    Run("pw-link", {"--links"}, &links);
    Run("pw-metadata", {"0", "default.audio.source"}, &source);
    const std::string linked = std::string("  |<- ") + kSink + ":monitor_FL";
    const auto has = [](const std::vector<std::string> &lines, const std::string &text) {
      for (const std::string &line : lines)
        if (line.find(text) != std::string::npos) return true;
      return false;
    };
    return has(links, linked) && has(source, std::string("\"") + kSource + "\"");
  }

  bool WriteConfiguration() const {
    std::filesystem::create_directories(folder_ / "config/pipewire/pipewire.conf.d");
    std::filesystem::create_directories(folder_ / "config/wireplumber/main.lua.d");
    std::filesystem::create_directories(folder_ / "config/wireplumber/bluetooth.lua.d");
    std::ofstream(folder_ / "config/wireplumber/main.lua.d/51-drovane-no-devices.lua")
        << "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n";
    std::ofstream(folder_ / "config/wireplumber/bluetooth.lua.d/51-drovane-no-devices.lua")
        << "bluez_monitor.enabled = false\n";
    std::ofstream devices(folder_ / "config/pipewire/pipewire.conf.d/drovane-devices.conf");
    devices << "context.objects = [\n"
               "  { factory = adapter\n"
               "    args = { factory.name = support.null-audio-sink node.name = \""
            << kSink << "\" node.description = \"" << kSinkName << "\"\n             object.path = \"" << kSink
            << "\" media.class = Audio/Sink audio.position = [ FL FR ] } }\n"
               "]\n"
               "context.modules = [\n"
               "  { name = libpipewire-module-loopback\n"
               "    args = { node.description = \""
            << kSourceName << "\"\n"
            << "             capture.props = { node.name = \"" << kSource << "-input\" target.object = \"" << kSink
            << "\" stream.capture.sink = true node.passive = true }\n"
            << "             playback.props = { node.name = \"" << kSource << "\" object.path = \"" << kSource
            << "\" media.class = Audio/Source audio.position = [ MONO ] } } }\n"
               "]\n";
    return static_cast<bool>(devices.flush());
  }

  RuntimeFolder folder_;
  bool pulse_;
  ServerProcess bus_, pipewire_, wireplumber_, pipewirePulse_;
  std::string busAddress_, why_;
};
