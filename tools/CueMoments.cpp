#include "CueMoments.h"

void CueMoments::Reading(double note, const Measure::NoteTargets &targets, double start, int samples) {
  const double cents = note != 0 ? (note - targets.Target(targets.Nearest(note))) * 100 : 0;
  const CueTracker::Step step = tracker_.Reading(note != 0, cents, 3, start);
  voice_.SetClicksPerSecond(step.clicksPerSecond);
  if (step.chime) voice_.Chime();
  scratch_.resize(static_cast<size_t>(samples));
  moments_.clear();
  voice_.Render(scratch_.data(), samples, &moments_);
  for (const CueVoice::Moment &m : moments_)
    std::fprintf(out_, "cue\t%.3f\t%s\n", start + static_cast<double>(m.offset) / drovane::kSampleRate,
                 m.kind == CueVoice::Moment::kClick ? "click" : "chime");
}
