#pragma once

// A JACK client for tests with one port, "out" or "in". It never starts a
// server (JACK_DEFAULT_SERVER names the one to use), waits for the ports it
// is told to connect to, runs its PortWork from the first period the port
// is connected on, and tells why it ended: the work finished, SIGINT or SIGTERM
// came, or the server went away.
#include <jack/jack.h>
#include <semaphore.h>

#include <atomic>
#include <memory>
#include <string>

#include "PortWork.h"

class JackTestClient {
 public:
  enum class End { Finished, Interrupted, ServerGone };

  JackTestClient(const std::string &name, bool output);
  ~JackTestClient();
  JackTestClient(const JackTestClient &) = delete;
  JackTestClient &operator=(const JackTestClient &) = delete;

  bool Ok() const { return why_.empty(); }
  // Why the last step failed, or why the server went away.
  const std::string &Why() const { return why_; }
  jack_nframes_t Rate() const { return jack_get_sample_rate(client_); }
  std::string PortName() const { return jack_port_name(port_); }

  // Starts the periods, with `work` kept till the client closes.
  bool Activate(std::unique_ptr<PortWork> work);
  // Connects the port to `peer`, an input for "out" and an output for "in",
  // once a port of that name exists.
  bool Connect(const std::string &peer);
  // Waits for the end, then stops the periods: the work's results are the
  // caller's to read.
  End Wait();

 private:
  static int OnProcess(jack_nframes_t frames, void *self);
  static void OnShutdown(jack_status_t code, const char *reason, void *self);
  static void OnRegistration(jack_port_id_t port, int registered, void *self);
  static void OnSignal(int signal);
  bool Fail(const std::string &why);
  bool WaitForPort(const std::string &name);

  jack_client_t *client_ = nullptr;
  jack_port_t *port_ = nullptr;
  bool output_;
  std::unique_ptr<PortWork> work_;
  bool started_ = false;  // process thread only
  std::atomic<bool> finished_{false}, gone_{false};
  sem_t wake_, registered_;
  char shutdownReason_[256] = {};
  std::string why_;
};
