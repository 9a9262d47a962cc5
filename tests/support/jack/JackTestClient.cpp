#include "JackTestClient.h"

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

// How long a peer's port may take to appear: a guard against a hang.
constexpr time_t kPatienceSeconds = 30;

std::atomic<bool> interrupted{false};
sem_t *signalWake = nullptr;

}  // namespace

JackTestClient::JackTestClient(const std::string &name, bool output) : output_(output) {
  sem_init(&wake_, 0, 0);
  sem_init(&registered_, 0, 0);
  jack_status_t status{};
  client_ = jack_client_open(name.c_str(), static_cast<jack_options_t>(JackNoStartServer | JackUseExactName), &status);
  if (!client_) {
    Fail(status & JackNameNotUnique ? "a JACK client named " + name + " exists already" : "no JACK server answers");
    return;
  }
  port_ = jack_port_register(client_, output ? "out" : "in", JACK_DEFAULT_AUDIO_TYPE,
                             output ? JackPortIsOutput : JackPortIsInput, 0);
  if (!port_) Fail("the port could not be registered");
}

JackTestClient::~JackTestClient() {
  if (client_) {
    jack_deactivate(client_);
    jack_client_close(client_);
  }
  signalWake = nullptr;
  sem_destroy(&wake_);
  sem_destroy(&registered_);
}

bool JackTestClient::Activate(std::unique_ptr<PortWork> work) {
  work_ = std::move(work);
  jack_set_process_callback(client_, OnProcess, this);
  jack_set_port_registration_callback(client_, OnRegistration, this);
  jack_on_info_shutdown(client_, OnShutdown, this);
  signalWake = &wake_;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESTART;  // libjack's own reads go on; only our wait is cut short
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  return jack_activate(client_) == 0 || Fail("the client could not be activated");
}

bool JackTestClient::Connect(const std::string &peer) {
  if (!WaitForPort(peer))
    return Fail(gone_ || interrupted ? "stopped while waiting for " + peer
                                     : "no port named " + peer + " appeared within 30 s");
  const std::string own = PortName();
  const int result =
      output_ ? jack_connect(client_, own.c_str(), peer.c_str()) : jack_connect(client_, peer.c_str(), own.c_str());
  return result == 0 || result == EEXIST || Fail("could not connect " + own + " and " + peer);
}

JackTestClient::End JackTestClient::Wait() {
  while (!finished_ && !gone_ && !interrupted) sem_wait(&wake_);  // a signal may cut the wait short
  jack_deactivate(client_);
  if (gone_) Fail(std::string("the JACK server went away (") + shutdownReason_ + ")");
  return gone_ ? End::ServerGone : finished_ ? End::Finished : End::Interrupted;
}

// The work begins on the first period the port is connected and goes on
// whatever happens to the connection; an output is silent before and after.
int JackTestClient::OnProcess(jack_nframes_t frames, void *arg) {
  auto *self = static_cast<JackTestClient *>(arg);
  auto *buffer = static_cast<float *>(jack_port_get_buffer(self->port_, frames));
  self->started_ = self->started_ || jack_port_connected(self->port_) > 0;
  const bool working = self->started_ && !self->finished_;
  if (working && self->work_->Process(buffer, frames)) {
    self->finished_ = true;
    sem_post(&self->wake_);
  } else if (!working && self->output_) {
    std::fill_n(buffer, frames, 0.0f);
  }
  return 0;
}

void JackTestClient::OnShutdown(jack_status_t, const char *reason, void *arg) {
  auto *self = static_cast<JackTestClient *>(arg);
  std::strncat(self->shutdownReason_, reason, sizeof self->shutdownReason_ - 1);
  self->gone_ = true;
  sem_post(&self->wake_);
}

void JackTestClient::OnRegistration(jack_port_id_t, int registered, void *arg) {
  if (registered) sem_post(&static_cast<JackTestClient *>(arg)->registered_);
}

void JackTestClient::OnSignal(int) {
  interrupted = true;
  if (signalWake) sem_post(signalWake);
}

bool JackTestClient::WaitForPort(const std::string &name) {
  timespec deadline{};
  clock_gettime(CLOCK_REALTIME, &deadline);
  deadline.tv_sec += kPatienceSeconds;
  while (!jack_port_by_name(client_, name.c_str())) {
    if (sem_timedwait(&registered_, &deadline) != 0 && errno == ETIMEDOUT) return false;
    if (gone_ || interrupted) return false;
  }
  return true;
}

bool JackTestClient::Fail(const std::string &why) {
  why_ = why;
  return false;
}
