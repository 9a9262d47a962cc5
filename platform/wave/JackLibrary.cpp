#include "wave/JackLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace platform::wave {

namespace {

extern "C" void IgnoreJackMessage(const char *) {}

template <class F>
bool Resolve(void *library, const char *name, F *function) {
  *function = reinterpret_cast<F>(dlsym(library, name));
  return *function != nullptr;
}

bool ResolveAll(void *jack, JackCalls *c) {
  return Resolve(jack, "jack_client_open", &c->client_open) && Resolve(jack, "jack_client_close", &c->client_close) &&
         Resolve(jack, "jack_get_sample_rate", &c->get_sample_rate) &&
         Resolve(jack, "jack_port_register", &c->port_register) &&
         Resolve(jack, "jack_port_get_buffer", &c->port_get_buffer) &&
         Resolve(jack, "jack_port_name", &c->port_name) && Resolve(jack, "jack_port_by_name", &c->port_by_name) &&
         Resolve(jack, "jack_port_flags", &c->port_flags) &&
         Resolve(jack, "jack_set_process_callback", &c->set_process_callback) &&
         Resolve(jack, "jack_on_info_shutdown", &c->on_info_shutdown) && Resolve(jack, "jack_activate", &c->activate) &&
         Resolve(jack, "jack_connect", &c->connect) && Resolve(jack, "jack_get_ports", &c->get_ports) &&
         Resolve(jack, "jack_free", &c->free) && Resolve(jack, "jack_set_error_function", &c->set_error_function) &&
         Resolve(jack, "jack_set_info_function", &c->set_info_function);
}

}  // namespace

const JackCalls *LoadJack(std::string *error) {
  static std::mutex mutex;
  static JackCalls calls{};
  static bool loaded = false;
  std::lock_guard lock(mutex);
  if (loaded) return &calls;
  void *jack = dlopen("libjack.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!jack) {
    *error = std::string("JACK could not be loaded (") + dlerror() + ")";
    return nullptr;
  }
  if (!ResolveAll(jack, &calls)) {
    *error = "libjack.so.0 lacks a call the JACK driver makes";
    return nullptr;
  }
  calls.set_error_function(&IgnoreJackMessage);
  calls.set_info_function(&IgnoreJackMessage);
  loaded = true;
  return &calls;
}

}  // namespace platform::wave
