#include "wave/LinkOpener.h"

#include <mutex>

#include "wave/LinkCloser.h"

namespace platform::wave {

// What an open on the worker leaves for the program thread.
struct LinkOpener::Opening {
  std::mutex mutex;
  bool cancelled = false;
  bool done = false;
  Outcome outcome;
};

LinkOpener::LinkOpener(LinkCloser &closer, Direction direction, std::function<void()> ended)
    : closer_(closer), direction_(direction), ended_(std::move(ended)) {}

// The link made after a cancel stays with the job, and is closed there when
// the job lets it go.
void LinkOpener::Start(const LiveEndpoint &endpoint, const SdlAudio &sdl, LinkClient *client, AudioWorker &worker) {
  auto opening = std::make_shared<Opening>();
  opening_ = opening;
  worker_ = &worker;
  DriverSignal *ended = &ended_;
  ticket_ = worker.Post([opening, ended, client, endpoint, sdl] {
    Outcome outcome;
    outcome.link = OpenLink(endpoint, sdl, client, &outcome.result, &outcome.error);
    std::lock_guard lock(opening->mutex);
    if (opening->cancelled) return;
    opening->outcome = std::move(outcome);
    opening->done = true;
    ended->Raise();  // under the lock: the opener is there until it cancels
  });
}

bool LinkOpener::Wait(AudioWorker::Deadline deadline) { return worker_->WaitFor(ticket_, deadline); }

bool LinkOpener::Take(Outcome *outcome) {
  if (!opening_) return false;
  {
    std::lock_guard lock(opening_->mutex);
    if (!opening_->done) return false;
    *outcome = std::move(opening_->outcome);
  }
  opening_.reset();
  return true;
}

void LinkOpener::Cancel() {
  if (!opening_) return;
  std::unique_ptr<LiveLink> link;
  {
    std::lock_guard lock(opening_->mutex);
    opening_->cancelled = true;
    link = std::move(opening_->outcome.link);
  }
  if (link) closer_.Close(std::move(link), direction_, *worker_);
  opening_.reset();
}

}  // namespace platform::wave
