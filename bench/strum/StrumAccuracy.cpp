// strum_accuracy: how well the strum check reads strums, by hand.
//
//   strum_accuracy [-v] synthetic [STRUMS [SEED [CENTS]]]
//                                                   synthetic strums, 2.5 s apart,
//                                                   each string detuned by a random
//                                                   −CENTS…+CENTS (40; 0: in tune)
//   strum_accuracy [-v] rendered DIR                strums rendered by
//                                                   scripts/strum-accuracy.sh
//
// -v lists every string read wrongly, every muted string heard and every
// ringing string missed.
// Each recording goes through the StrumTracker in capture buffers of 2205
// samples, as the tuner would feed it. Prints, per set: strums found, the
// median and 95th percentile of the absolute error in cents of each string
// heard, the share of strings named wrongly (more than half a semitone from
// the truth, so another note or another string's sound), the share of muted
// strings heard, the share of ringing strings not heard, the time from each
// strum's onset to its reading, and the speed against real time.
#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SyntheticStrum.h"
#include "strum/StrumTracker.h"

namespace {

constexpr double kRate = 22050.0;
constexpr int64_t kBuffer = 2205;

// The truth of one strum: onset and, per string, rung or not and at what;
// a string whose truth could not be had is left out.
struct Truth {
  int64_t onset = 0;
  std::array<bool, 6> rung{};
  std::array<bool, 6> known{true, true, true, true, true, true};
  std::array<double, 6> hertz{};
};

struct Tally {
  std::vector<double> errors, latencies;
  int strums = 0, found = 0, extra = 0, heard = 0, wrong = 0, muted = 0, mutedHeard = 0, ringing = 0, missed = 0;
  double audioSeconds = 0, cpuSeconds = 0;
};

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

bool g_verbose = false;
std::string g_label;  // names the recording in what -v lists

std::vector<Strum::StrumReading> Track(const std::vector<int16_t> &samples, Tally *tally) {
  const std::clock_t start = std::clock();
  Strum::StrumTracker tracker{Measure::Tuning{}};
  std::vector<Strum::StrumReading> readings;
  for (size_t at = 0; at < samples.size(); at += kBuffer)
    tracker.Feed(samples.data() + at, std::min<size_t>(kBuffer, samples.size() - at), &readings);
  tracker.Finish(&readings);
  tally->cpuSeconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  tally->audioSeconds += samples.size() / kRate;
  return readings;
}

void Compare(const Strum::StrumReading &reading, const Truth &truth, Tally *tally) {
  tally->latencies.push_back((reading.ready - truth.onset) / kRate);
  for (int s = 0; s < 6; ++s) {
    const Strum::StringReading &r = reading.strings[s];
    const std::string at = g_label + std::to_string(truth.onset / kRate).substr(0, 6);
    if (!truth.known[s]) continue;
    if (!truth.rung[s]) {
      ++tally->muted;
      tally->mutedHeard += r.heard;
      if (g_verbose && r.heard) std::printf("  %s s string %d: muted, heard at %.2f Hz\n", at.c_str(), s + 1, r.hertz);
      continue;
    }
    ++tally->ringing;
    if (!r.heard) {
      ++tally->missed;
      if (g_verbose) std::printf("  %s s string %d: %.2f Hz not heard\n", at.c_str(), s + 1, truth.hertz[s]);
      continue;
    }
    ++tally->heard;
    const double cents = 1200 * std::log2(r.hertz / truth.hertz[s]);
    if (std::abs(cents) > 50) ++tally->wrong;
    else tally->errors.push_back(std::abs(cents));
    if (g_verbose && std::abs(cents) > 2)
      std::printf("  %s s string %d: %.2f Hz read as %.2f Hz (%+.1f cents)\n", at.c_str(), s + 1, truth.hertz[s], r.hertz,
                  cents);
  }
}

// Pairs each truth with the reading whose onset lies within 100 ms of it;
// the strings of a strum not found count as not heard.
void Score(const std::vector<Strum::StrumReading> &readings, const std::vector<Truth> &truths, Tally *tally) {
  std::vector<bool> used(readings.size());
  for (const Truth &truth : truths) {
    ++tally->strums;
    size_t i = 0;
    while (i < readings.size() && (used[i] || std::abs(readings[i].onset - truth.onset) > 0.1 * kRate)) ++i;
    if (i < readings.size()) {
      used[i] = true;
      ++tally->found;
      Compare(readings[i], truth, tally);
      continue;
    }
    if (g_verbose) std::printf("  %s%.3f s: strum not found\n", g_label.c_str(), truth.onset / kRate);
    for (int s = 0; s < 6; ++s) {
      const bool ringing = truth.known[s] && truth.rung[s];
      tally->ringing += ringing;
      tally->missed += ringing;
      tally->muted += truth.known[s] && !truth.rung[s];
    }
  }
  tally->extra += static_cast<int>(std::count(used.begin(), used.end(), false));
}

void Print(const char *set, const Tally &t) {
  auto share = [](int part, int whole) { return whole ? 100.0 * part / whole : 0.0; };
  std::printf("%s: %d strums, %d found, %d extra\n", set, t.strums, t.found, t.extra);
  std::printf("  error of strings heard (cents): median %.3f, p95 %.3f, max %.3f (%zu strings)\n",
              Percentile(t.errors, 0.5), Percentile(t.errors, 0.95), Percentile(t.errors, 1.0), t.errors.size());
  std::printf("  named wrongly: %.2f%% (%d of %d heard)\n", share(t.wrong, t.heard), t.wrong, t.heard);
  std::printf("  muted strings heard: %.2f%% (%d of %d)\n", share(t.mutedHeard, t.muted), t.mutedHeard, t.muted);
  std::printf("  ringing strings not heard: %.2f%% (%d of %d)\n", share(t.missed, t.ringing), t.missed, t.ringing);
  std::printf("  strum to reading (s): median %.3f, max %.3f\n", Percentile(t.latencies, 0.5),
              Percentile(t.latencies, 1.0));
  std::printf("  speed: %.0f times real time (%.1f s of sound in %.3f s)\n", t.audioSeconds / t.cpuSeconds,
              t.audioSeconds, t.cpuSeconds);
}

int Synthetic(int count, uint64_t seed, double cents) {
  std::vector<synthetic::Strike> strikes;
  for (int k = 0; k < count; ++k) {
    synthetic::StrumSettings settings;
    settings.detune = cents;
    settings.muted = k % 3;
    settings.upStroke = k % 2;
    strikes.push_back({0.5 + 2.5 * k, seed + k, settings});
  }
  const synthetic::Recording recording = synthetic::MakeRecording(strikes, 0.5 + 2.5 * count);
  std::vector<Truth> truths;
  for (const synthetic::Strum &strum : recording.strums) {
    Truth truth;
    truth.onset = static_cast<int64_t>(strum.onset);
    for (int s = 0; s < 6; ++s) truth.rung[s] = !strum.strings[s].muted, truth.hertz[s] = strum.strings[s].hertz;
    truths.push_back(truth);
  }
  Tally tally;
  Score(Track(recording.samples, &tally), truths, &tally);
  const std::string set = cents == 0 ? "synthetic, in tune" : "synthetic, within ±" + std::to_string(std::lround(cents)) + " cents";
  Print(set.c_str(), tally);
  return 0;
}

// 16-bit little-endian mono samples, as the script writes them.
bool ReadRaw(const std::string &path, std::vector<int16_t> *samples) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return false;
  samples->resize(bytes.size() / 2);
  for (size_t i = 0; i < samples->size(); ++i)
    (*samples)[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
  return !samples->empty();
}

// A string's truth: what the analyser reads of it rendered alone, over the
// stretch the strum was read from (a sampled string's pitch glides, so
// another stretch would measure another pitch).
bool LoneTruth(const std::string &path, int64_t from, int64_t to, int string, double *hertz) {
  std::vector<int16_t> alone;
  if (!ReadRaw(path, &alone) || static_cast<int64_t>(alone.size()) < to) return false;
  Strum::StrumAnalyzer analyzer{Measure::Tuning{}};
  const Strum::StrumReading r = analyzer.Analyze(alone.data() + from, static_cast<int>(to - from));
  *hertz = r.strings[string].hertz;
  return r.strings[string].heard;
}

// strums.csv: strum,onset_s,string,played,cents — one line per string.
bool ReadStrums(const std::string &dir, std::vector<std::pair<std::string, Truth>> *strums) {
  std::ifstream csv(dir + "/strums.csv");
  std::string line;
  if (!csv || !std::getline(csv, line)) return false;
  while (std::getline(csv, line)) {
    std::istringstream fields(line);
    std::string id, onset, string, played;
    std::getline(fields, id, ','), std::getline(fields, onset, ','), std::getline(fields, string, ','),
        std::getline(fields, played, ',');
    if (strums->empty() || strums->back().first != id) strums->push_back({id, {}});
    Truth &truth = strums->back().second;
    truth.onset = std::llround(std::atof(onset.c_str()) * kRate);
    const int s = std::atoi(string.c_str()) - 1;
    if (s >= 0 && s < 6) truth.rung[s] = played == "1";
  }
  return true;
}

// Each played string's truth, over the stretch of the reading that
// answers the strum (if any does).
int FillTruth(const std::string &dir, const std::string &id, const std::vector<Strum::StrumReading> &readings,
              Truth *truth) {
  int unreadable = 0;
  for (const Strum::StrumReading &r : readings) {
    if (std::abs(r.onset - truth->onset) > 0.1 * kRate) continue;
    for (int s = 0; s < 6; ++s) {
      if (!truth->rung[s]) continue;
      const std::string lone = dir + "/strum-" + id + "-" + std::to_string(s + 1) + ".raw";
      truth->rung[s] = truth->known[s] = LoneTruth(lone, r.from, r.to, s, &truth->hertz[s]);
      unreadable += !truth->known[s];
      if (g_verbose && !truth->known[s]) std::printf("  strum-%s string %d: cannot be read alone\n", id.c_str(), s + 1);
    }
    break;
  }
  return unreadable;
}

int Rendered(const std::string &dir) {
  std::vector<std::pair<std::string, Truth>> strums;
  if (!ReadStrums(dir, &strums)) {
    std::fprintf(stderr, "%s/strums.csv: cannot read it\n", dir.c_str());
    return 1;
  }
  Tally tally;
  int unreadable = 0;
  for (auto &[id, truth] : strums) {
    std::vector<int16_t> samples;
    if (!ReadRaw(dir + "/strum-" + id + ".raw", &samples)) {
      std::fprintf(stderr, "%s/strum-%s.raw: cannot read it\n", dir.c_str(), id.c_str());
      return 1;
    }
    g_label = "strum-" + id + " at ";
    const std::vector<Strum::StrumReading> readings = Track(samples, &tally);
    unreadable += FillTruth(dir, id, readings, &truth);
    Score(readings, {truth}, &tally);
  }
  Print("rendered", tally);
  std::printf("  played strings whose lone rendering could not be read (left out): %d\n", unreadable);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc > 1 && std::string(argv[1]) == "-v") g_verbose = true, --argc, ++argv;
  const std::string set = argc > 1 ? argv[1] : "";
  if (set == "synthetic" && argc <= 5)
    return Synthetic(argc > 2 ? std::atoi(argv[2]) : 200, argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1000,
                     argc > 4 ? std::atof(argv[4]) : 40);
  if (set == "rendered" && argc == 3) return Rendered(argv[2]);
  std::fputs("usage: strum_accuracy [-v] synthetic [STRUMS [SEED [CENTS]]] | [-v] rendered DIR\n", stderr);
  return 2;
}
