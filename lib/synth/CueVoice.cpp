#include "CueVoice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kClickSeconds = 0.004, kClickHertz = 5500, kClickLevel = 3500;
constexpr double kNoteSeconds = 0.13, kFirstHertz = 5274.0, kSecondHertz = 7040.0, kChimeLevel = 3000;

}  // namespace

void CueVoice::SetClicksPerSecond(double perSecond) {
  if (perSecond > 0 && perSecond_ <= 0) until_ = 0;  // the first click at once
  perSecond_ = perSecond > 0 ? perSecond : 0;
}

void CueVoice::Chime() { chimeAsked_ = true; }

bool CueVoice::Quiet() const { return perSecond_ <= 0 && click_ < 0 && chime_ < 0 && !chimeAsked_; }

double CueVoice::Click() {
  const double t = static_cast<double>(click_) / rate_;
  const double window = 0.5 - 0.5 * std::cos(2 * kPi * t / kClickSeconds);
  const double v = kClickLevel * window * std::sin(2 * kPi * kClickHertz * t);
  if (++click_ >= static_cast<int64_t>(kClickSeconds * rate_)) click_ = -1;
  return v;
}

double CueVoice::Bell() {
  const double t = static_cast<double>(chime_) / rate_;
  const bool second = t >= kNoteSeconds;
  const double local = second ? t - kNoteSeconds : t;
  const double f = second ? kSecondHertz : kFirstHertz;
  const double attack = std::min(local / 0.002, 1.0);
  const double v = kChimeLevel * attack * std::exp(-local / 0.05) * std::sin(2 * kPi * f * local);
  if (++chime_ >= static_cast<int64_t>(kChimeSeconds * rate_)) chime_ = -1;
  return v;
}

void CueVoice::Render(short *out, int count, std::vector<Moment> *moments) {
  for (int i = 0; i < count; ++i) {
    if (chimeAsked_) {
      chimeAsked_ = false;
      chime_ = 0;
      if (moments) moments->push_back({Moment::kChime, i});
    }
    if (perSecond_ > 0 && (until_ -= 1) <= 0) {
      until_ += rate_ / perSecond_;
      click_ = 0;
      if (moments) moments->push_back({Moment::kClick, i});
    }
    double v = 0;
    if (click_ >= 0) v += Click();
    if (chime_ >= 0) v += Bell();
    out[i] = static_cast<short>(std::clamp(std::lround(v), -32767l, 32767l));
  }
}
