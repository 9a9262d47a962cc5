#include "wave/LinkCloser.h"

#include <errno.h>

#include <cstdio>

namespace platform::wave {

// A std::function must be copyable: the link rides in a shared holder.
void LinkCloser::Close(std::unique_ptr<LiveLink> link, Direction direction, AudioWorker &worker) {
  std::erase_if(pending_, [](const Pending &p) { return p.worker->Ran(p.ticket); });
  auto held = std::make_shared<std::unique_ptr<LiveLink>>(std::move(link));
  pending_.push_back({&worker, worker.Post([held] { held->reset(); }), direction});
}

bool LinkCloser::Settle(std::chrono::milliseconds bound) {
  if (!deadline_) deadline_ = std::chrono::steady_clock::now() + bound;
  bool settled = true;
  for (const Pending &p : pending_) settled = p.worker->WaitFor(p.ticket, *deadline_) && settled;
  if (settled || told_) return settled;
  told_ = true;
  bool open[2] = {};  // by direction: a close that did not end
  for (const Pending &p : pending_) open[p.direction == Direction::Capture] |= !p.worker->Ran(p.ticket);
  const char *which = open[0] && open[1] ? "audio capture and output devices"
                      : open[1]          ? "audio capture device"
                                         : "audio output device";
  const bool both = open[0] && open[1];
  std::fprintf(stderr, "%s: the %s did not close within %g s (%s sound server stopped answering); ending without %s\n",
               program_invocation_short_name, which, static_cast<double>(bound.count()) / 1000.0,
               both ? "their" : "its", both ? "them" : "it");
  return false;
}

}  // namespace platform::wave
