#pragma once

#include <cstdint>
#include <vector>

namespace material {

// A small microphone in an ordinary room, applied to a take: the room's
// reverberation (an impulse response of our own: a few early reflections,
// then a noise tail decaying by RT60, its highs sooner), the capsule's
// fourth-order Butterworth high-pass, mains hum (the mains frequency and
// its odd harmonics) and pink noise. Levels are against "the note": the
// sound's RMS over the second after each strum.
struct RoomSettings {
  double highPass = 150;  // hertz; 0: none
  double rt60 = 0.35;     // seconds
  double reverbDb = -8;   // the reverberation's energy against the direct sound
  double humHertz = 50;
  double humDb = -40;
  double noiseDb = -25;
  uint64_t seed = 1;
};

// The room the analyser is tuned in, and one kept aside to report on.
RoomSettings TuningRoom();
RoomSettings HeldOutRoom();

// The room's impulse response at the tuner's rate, its first tap 1.
std::vector<double> ImpulseResponse(const RoomSettings &room);

// `sound` as the microphone hears it; `notes` are the strums' times in
// seconds.
void ApplyRoom(const RoomSettings &room, const std::vector<double> &notes, std::vector<double> *sound);

// Fourth-order Butterworth high-pass at `hertz`, in place.
void HighPass(double hertz, std::vector<double> *sound);

}  // namespace material
