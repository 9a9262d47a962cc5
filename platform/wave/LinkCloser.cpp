#include "wave/LinkCloser.h"

#include <errno.h>

#include <cstdio>

namespace platform::wave {

namespace {

const char *What(Direction d) { return d == Direction::Capture ? "audio capture device" : "audio output device"; }

}  // namespace

// A std::function must be copyable: the link rides in a shared holder.
void LinkCloser::Close(std::unique_ptr<LiveLink> link, Direction direction) {
  AudioWorker &worker = AudioWorker::Shared();
  std::erase_if(pending_, [&worker](const Pending &p) { return worker.Ran(p.ticket); });
  auto held = std::make_shared<std::unique_ptr<LiveLink>>(std::move(link));
  pending_.push_back({worker.Post([held] { held->reset(); }), direction, false});
}

void LinkCloser::Abandoned(uint64_t ticket, Direction direction) { pending_.push_back({ticket, direction, true}); }

bool LinkCloser::Settle(std::chrono::milliseconds bound) {
  if (!deadline_) deadline_ = std::chrono::steady_clock::now() + bound;
  AudioWorker &worker = AudioWorker::Shared();
  bool settled = true;
  for (const Pending &p : pending_) settled = worker.WaitFor(p.ticket, *deadline_) && settled;
  if (settled || told_) return settled;
  told_ = true;
  bool said[2][2] = {};  // by direction and open: one line each
  for (const Pending &p : pending_) {
    bool &once = said[p.direction == Direction::Capture][p.open];
    if (worker.Ran(p.ticket) || once) continue;
    once = true;
    std::fprintf(stderr, "%s: the %s did not %s within %g s (its sound server stopped answering); ending without it\n",
                 program_invocation_short_name, What(p.direction), p.open ? "open" : "close",
                 static_cast<double>(bound.count()) / 1000.0);
  }
  return false;
}

}  // namespace platform::wave
