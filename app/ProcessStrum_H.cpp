#include "ProcessStrum_H.h"

#include <algorithm>
#include <cstring>

#include "strum/TargetedReading.h"

ProcessStrum_H::ProcessStrum_H(UninitCaller *root, const Measure::NoteTargets &targets,
                               const Delegate<double()> &getReference, const ReadingDelegate &onReading)
    : targets_(targets),
      getReference_(getReference),
      onReading_(onReading),
      recent_(kReplay),
      resident_(root, this, MakeDelegate<void()>(this, &ProcessStrum_H::Uninit)) {}

void ProcessStrum_H::Uninit() {
  getReference_.Clear();
  onReading_.Clear();
}

void ProcessStrum_H::OnSample(AV::IMediaSample *sample) {
  if (!onReading_.IsBound()) return;
  const double reference = getReference_();
  if (!tracker_ || reference != reference_) StartOver(reference);
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  sample->GetData(&data, &bytes);
  // The bytes of a sample need not be aligned for 16-bit reads.
  samples_.resize(bytes / sizeof(int16_t));
  if (!samples_.empty()) std::memcpy(samples_.data(), data, samples_.size() * sizeof(int16_t));
  Keep(samples_.data(), samples_.size());
  tracker_->Feed(samples_.data(), samples_.size(), &readings_);
  for (Strum::StrumReading &reading : readings_) {
    Strum::ReadAgainstTargets(targets_, &reading);
    onReading_(reading);
  }
  readings_.clear();
}

void ProcessStrum_H::Keep(const int16_t *samples, size_t count) {
  for (size_t i = 0; i < count; ++i) recent_[(heard_ + i) % kReplay] = samples[i];
  heard_ += static_cast<int64_t>(count);
}

// Readings of the sound heard again were given already, or are of the
// strings ringing when it starts.
void ProcessStrum_H::StartOver(double reference) {
  tracker_.emplace(targets_.GetTuning(), reference);
  reference_ = reference;
  const int64_t kept = std::min(heard_, kReplay), first = heard_ - kept;
  samples_.resize(static_cast<size_t>(kept));
  for (int64_t i = 0; i < kept; ++i) samples_[i] = recent_[(first + i) % kReplay];
  tracker_->Feed(samples_.data(), samples_.size(), &readings_);
  readings_.clear();
}
