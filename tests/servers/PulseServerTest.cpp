// A test's PulseAudio server crashes (killed by its pid) or stops, and
// comes back on the same socket with its null sink, as a desktop's does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PulseServer.h"

namespace {

bool HasTheSink(const PulseServer &server) {
  std::vector<std::string> sinks;
  if (server.Pactl({"list", "short", "sinks"}, &sinks) != 0) return false;
  return std::any_of(sinks.begin(), sinks.end(),
                     [](const std::string &line) { return line.find("\tdrovane\t") != std::string::npos; });
}

TEST(PulseServer, ComesBackOnTheSameSocketAfterACrashAndAStop) {
  PulseServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  ASSERT_TRUE(HasTheSink(server));
  for (int signal : {SIGKILL, SIGTERM}) {
    SCOPED_TRACE(signal);
    const pid_t before = server.Pid();
    server.Stop(signal);
    EXPECT_NE(server.Pactl({"info"}), 0) << "nobody answers while it is away";
    ASSERT_TRUE(server.Start()) << server.Why();
    EXPECT_NE(server.Pid(), before);
    EXPECT_TRUE(HasTheSink(server));
  }
}

}  // namespace
