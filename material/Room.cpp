#include "Room.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Convolution.h"
#include "Random.h"
#include "base/SoundFormat.h"

namespace material {

namespace {

constexpr double kRate = drovane::kSampleRate;

double Db(double db) { return std::pow(10.0, db / 20); }

// The note's RMS: over the second after each strum.
double NoteLevel(const std::vector<double> &sound, const std::vector<double> &notes) {
  double energy = 0;
  size_t count = 0;
  for (double t : notes) {
    const size_t from = std::min(sound.size(), static_cast<size_t>(t * kRate));
    const size_t to = std::min(sound.size(), from + static_cast<size_t>(kRate));
    for (size_t i = from; i < to; ++i) energy += sound[i] * sound[i];
    count += to - from;
  }
  return count ? std::sqrt(energy / count) : 0;
}

// Pink noise of unit RMS or so: white noise through Kellet's filter of
// seven first-order sections.
std::vector<double> PinkNoise(size_t count, Random &r) {
  std::vector<double> out(count);
  double b[7] = {};
  double energy = 0;
  for (size_t i = 0; i < count; ++i) {
    const double w = r.Normal();
    b[0] = 0.99886 * b[0] + w * 0.0555179;
    b[1] = 0.99332 * b[1] + w * 0.0750759;
    b[2] = 0.96900 * b[2] + w * 0.1538520;
    b[3] = 0.86650 * b[3] + w * 0.3104856;
    b[4] = 0.55000 * b[4] + w * 0.5329522;
    b[5] = -0.7616 * b[5] - w * 0.0168980;
    out[i] = b[0] + b[1] + b[2] + b[3] + b[4] + b[5] + b[6] + w * 0.5362;
    b[6] = w * 0.115926;
    energy += out[i] * out[i];
  }
  const double rms = count ? std::sqrt(energy / count) : 1;
  for (double &v : out) v /= rms;
  return out;
}

}  // namespace

RoomSettings TuningRoom() { return {}; }

RoomSettings HeldOutRoom() { return {180, 0.42, -7, 60, -36, -22, 77}; }

std::vector<double> ImpulseResponse(const RoomSettings &room) {
  Random r(room.seed);
  const size_t length = static_cast<size_t>(1.2 * room.rt60 * kRate);
  std::vector<double> tail(length);
  // Early reflections off the desk, the walls and the ceiling.
  for (int k = 0; k < 6; ++k) {
    const double delay = r.Uniform(0.002, 0.025);
    tail[static_cast<size_t>(delay * kRate)] += (r.Below(2) ? 1 : -1) * r.Uniform(0.2, 0.5) * 0.004 / delay;
  }
  // The diffuse tail: its lows decay by RT60, its highs (above a one-pole
  // split at 2 kHz) half again as fast.
  const double split = std::exp(-2 * std::numbers::pi * 2000 / kRate);
  double low = 0;
  const size_t start = static_cast<size_t>(0.006 * kRate);
  for (size_t i = start; i < length; ++i) {
    const double t = i / kRate, w = r.Normal();
    low = split * low + (1 - split) * w;
    const double fadeIn = std::min(1.0, (i - start) / (0.01 * kRate));
    tail[i] += fadeIn * (low * std::exp(-6.91 * t / room.rt60) + (w - low) * std::exp(-1.5 * 6.91 * t / room.rt60));
  }
  double energy = 0;
  for (double v : tail) energy += v * v;
  const double scale = energy > 0 ? std::sqrt(std::pow(10.0, room.reverbDb / 10) / energy) : 0;
  for (double &v : tail) v *= scale;
  tail[0] = 1;
  return tail;
}

void HighPass(double hertz, std::vector<double> *sound) {
  if (hertz <= 0) return;
  // Two biquads; the Butterworth poles of order four have Q 0.5412 and 1.3066.
  for (double q : {0.54119610, 1.30656296}) {
    const double w = 2 * std::numbers::pi * hertz / kRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double a0 = 1 + alpha, b0 = (1 + c) / 2 / a0, b1 = -(1 + c) / a0, b2 = b0, a1 = -2 * c / a0,
                 a2 = (1 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double &v : *sound) {
      const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = v, y2 = y1, y1 = y;
      v = y;
    }
  }
}

void ApplyRoom(const RoomSettings &room, const std::vector<double> &notes, std::vector<double> *sound) {
  *sound = Convolve(*sound, ImpulseResponse(room));
  HighPass(room.highPass, sound);
  const double level = NoteLevel(*sound, notes);
  Random r(room.seed ^ 0x401CE);
  const std::vector<double> pink = PinkNoise(sound->size(), r);
  // Hum: the mains frequency and its odd harmonics, falling off; unit RMS.
  const double harmonics[] = {1.0, 0.6, 0.35, 0.2};
  double humEnergy = 0;
  for (double h : harmonics) humEnergy += h * h / 2;
  const double hum = level * Db(room.humDb) / std::sqrt(humEnergy), noise = level * Db(room.noiseDb);
  const double phase = r.Uniform(0, 2 * std::numbers::pi);
  for (size_t i = 0; i < sound->size(); ++i) {
    double v = 0;
    for (int k = 0; k < 4; ++k) v += harmonics[k] * std::sin(2 * std::numbers::pi * (2 * k + 1) * room.humHertz * i / kRate + phase * (k + 1));
    (*sound)[i] += hum * v + noise * pink[i];
  }
}

}  // namespace material
