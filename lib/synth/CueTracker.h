#pragma once

// When the cue clicks and chimes, from the readings: clicks while a note is
// heard, faster the farther it is from its note (ClicksPerSecond), and one
// chime once it has held within the in-tune zone for kHoldSeconds; leaving
// the zone or losing the note allows the next one. Readings carry their own
// time, so the rules hold on any clock. Single-threaded.
class CueTracker {
 public:
  static constexpr double kHoldSeconds = 0.5;

  struct Step {
    double clicksPerSecond;  // 0 while no note is heard
    bool chime;              // chime now
  };

  // A reading at `seconds`: heard or not, its deviation in cents, and the
  // half-width of the zone counted as in tune.
  Step Reading(bool heard, double cents, double okCents, double seconds);

  // One a second in tune, rising to ten a second half a semitone off (with
  // the square root of the distance, so that the last cents still tell).
  static double ClicksPerSecond(double cents);

 private:
  bool inZone_ = false;
  double since_ = 0;
  bool chimed_ = false;
};
