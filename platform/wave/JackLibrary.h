#pragma once

#include <jack/jack.h>

#include <string>

namespace platform::wave {

// The JACK calls the JACK links make, from libjack loaded when a JACK device
// is first opened or listed: most desktops have no JACK, and the program
// runs where libjack is absent. Whatever answers as libjack.so.0 serves (PipeWire's
// JACK layer under pw-jack too). Loaded once for the process and never
// unloaded; libjack's own lines on stderr are silenced, the drivers saying
// what went wrong in their own words.
struct JackCalls {
  decltype(&jack_client_open) client_open;
  decltype(&jack_client_close) client_close;
  decltype(&jack_get_sample_rate) get_sample_rate;
  decltype(&jack_port_register) port_register;
  decltype(&jack_port_get_buffer) port_get_buffer;
  decltype(&jack_port_name) port_name;
  decltype(&jack_port_by_name) port_by_name;
  decltype(&jack_port_flags) port_flags;
  decltype(&jack_set_process_callback) set_process_callback;
  decltype(&jack_on_info_shutdown) on_info_shutdown;
  decltype(&jack_activate) activate;
  decltype(&jack_connect) connect;
  decltype(&jack_get_ports) get_ports;
  decltype(&jack_free) free;
  decltype(&jack_set_error_function) set_error_function;
  decltype(&jack_set_info_function) set_info_function;
};

// The calls, or null with the reason when libjack cannot be loaded. Audio
// worker (any thread, one at a time).
const JackCalls *LoadJack(std::string *error);

}  // namespace platform::wave
