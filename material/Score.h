#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace material {

// One string struck: which string of the instrument (0 = the lowest), its
// note and detuning, when and how hard. A muted string is struck with the
// hand resting on it: a thud that dies within a tenth of a second.
struct Pluck {
  int string = 0;
  int midi = 40;
  double cents = 0;     // from the tempered note at the reference
  double time = 0;      // seconds from the take's start
  double velocity = 1;  // 0…1
  bool muted = false;
  int strum = 0;        // which strum of the take it belongs to
};

// What is played in one take: the plucks in time order, the strings'
// number and the take's length. A string rings until it is struck again.
struct Score {
  int strings = 6;
  double seconds = 0;
  double reference = 440;
  std::vector<Pluck> plucks;
};

// How the strings of one strum follow each other.
enum class StrumKind {
  kDown,      // lowest first, 20–40 ms apart
  kUp,        // highest first, 15–35 ms apart
  kFast,      // all within 10 ms, either way
  kArpeggio,  // lowest first, 60–150 ms apart
  kAlone,     // one or two strings ring, the others are struck muted
};

const char *KindName(StrumKind kind);
bool ParseKind(const std::string &name, StrumKind *kind);

struct StrumPlan {
  std::vector<int> notes{40, 45, 50, 55, 59, 64};  // the tuning, lowest string first
  StrumKind kind = StrumKind::kDown;
  int strums = 6;
  double spacing = 2.5;  // seconds from one strum's first pluck to the next
  double lead = 0.4;     // seconds before the first strum
  double tail = 2.0;     // seconds after the last
  double detune = 0;     // each string a random −detune…+detune cents (0: in tune)
  std::vector<double> cents;  // or each string's own detuning, lowest first
  bool mutes = true;     // every third strum of the down/up/fast/arpeggio kinds mutes one string
  double reference = 440;
};

// The strums of a plan; the same plan and seed give the same score.
Score MakeStrums(const StrumPlan &plan, uint64_t seed);

// One note struck alone, `seconds` long, 0.3 s in.
Score MakeNote(int midi, double cents, double seconds = 3.0, double velocity = 0.85, double reference = 440);

}  // namespace material
