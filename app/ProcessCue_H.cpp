#include "ProcessCue_H.h"

#include "PlaybackAdapters.h"
#include "general/rcvector.h"

namespace {

constexpr int kQueued = 2;

}  // namespace

ProcessCue_H::ProcessCue_H(UninitCaller *root, const RCPtr<WaveOutEvent> &device, const RCPtr<Synth_H> &tone,
                           double okCents, uint32_t samplesPerSecond)
    : device_(device),
      tone_(tone),
      okCents_(okCents),
      voice_(samplesPerSecond),
      resident_(root, this, MakeDelegate<void()>(this, &ProcessCue_H::Uninit)) {}

void ProcessCue_H::Uninit() {
  device_.Reset();
  tone_.Reset();
}

void ProcessCue_H::OnReading(bool heard, double cents, double seconds) {
  const CueTracker::Step step = tracker_.Reading(heard, cents, okCents_, seconds);
  voice_.SetClicksPerSecond(step.clicksPerSecond);
  if (step.chime) voice_.Chime();
  Fill();
}

// The device tells of each finished block, the tone's as well as the cue's:
// the cue's own count is what the queue holds beyond the tone's blocks.
void ProcessCue_H::Fill() {
  if (!device_) return;
  const int inQueue = static_cast<int>(device_->Queue().size());
  if (queued_ > inQueue) queued_ = inQueue;
  if (tone_ && tone_->Sounding()) return;
  while (queued_ < kQueued && !voice_.Quiet()) {
    RCPtr<rcvector<short>> block = MakeRC<rcvector<short>>(static_cast<size_t>(kBlock), short(0));
    voice_.Render(block->data(), kBlock, nullptr);
    WriteBlockToDevice(block.get(), device_);
    ++queued_;
  }
}
