#pragma once

#include <cstdint>
#include <vector>

// The sound of the cue for the ear: soft clicks at a rate the owner sets,
// and a short chime of two notes on request, rendered as one stream of
// 16-bit mono samples. All of it lies above 4.5 kHz, where the tuner's
// capture is cut when the cue plays (the app's CueShield), so that heard
// through a microphone it gives no reading: a click is 4 ms of a 5.5 kHz
// tone in a Hann window (no step to spread it lower), the chime E8 then A8,
// each rising in 2 ms and decaying; both soft (under -18 dBFS). Clicks come
// at an even pace carried across blocks; a rate change takes effect from the
// next click on. Single-threaded.
class CueVoice {
 public:
  struct Moment {
    enum Kind { kClick, kChime } kind;
    int offset;  // sample of the block where it began
  };

  explicit CueVoice(uint32_t samplesPerSecond) : rate_(samplesPerSecond) {}

  // 0: no more clicks (a click under way rings out).
  void SetClicksPerSecond(double perSecond);
  // Starts the chime at the next sample rendered (again from its start if
  // one is ringing).
  void Chime();
  // Writes `count` samples to `out`, and where clicks and chimes began in
  // them to `moments` (when given).
  void Render(short *out, int count, std::vector<Moment> *moments);
  // Nothing asked and nothing ringing: what follows would be silence.
  bool Quiet() const;

  static constexpr double kChimeSeconds = 0.26;

 private:
  double Click();
  double Bell();

  uint32_t rate_;
  double perSecond_ = 0;
  double until_ = 0;         // samples to the next click
  int64_t click_ = -1;       // samples into the click under way, -1: none
  int64_t chime_ = -1;       // samples into the chime, -1: none
  bool chimeAsked_ = false;  // the next sample starts it
};
