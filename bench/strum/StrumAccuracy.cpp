// strum_accuracy: how well the strum check reads strums, by material,
// room, strum kind and tuning (run by scripts/strum-accuracy.py).
//
//   strum_accuracy [--part tuning|held-out] [--cache DIR] [--strums N] [--only MATERIAL] [--kind KIND] [--cached]
//                  [--tunings] [--guitar | --instruments] [--take NAME] [-v]
//
// The guitar's six strings and the other instruments (basses of four and
// five strings, the seven-string guitar, the ukulele) are reported apart;
// --guitar or --instruments reads only one of them; --take one take by its name.
// --cached reads only the takes already in the cache (a sound font that
// renders slowly, read in part), and says how many it left out.
// Every take (AccuracyCells) is read clean and through the part's room by
// the StrumTracker, fed in the tuner's 100 ms capture buffers. Each string
// of each strum is judged against its truth: what the analyser reads of
// that string rendered alone over the same stretch. A string is missed when
// it rang and no reading of its strum heard it, wrong when read more than
// 50 cents from its truth, and a muted string heard is counted apart.
// Readings of an arpeggio come in parts (its strings are struck further
// apart than one strum's): each string is judged by the last reading of
// its strum that heard it. Prints a row per material, room and kind (per
// tuning too with --tunings), the strums not found among them, the time
// from strum to reading and the speed.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "AccuracyCells.h"
#include "AccuracyTally.h"
#include "WavFile.h"
#include "base/SoundFormat.h"
#include "measure/Tuning.h"
#include "strum/StrumTracker.h"

namespace {

constexpr double kRate = drovane::kSampleRate;
constexpr size_t kBuffer = drovane::kSampleRate / 10;  // the tuner's capture buffer
constexpr double kNear = 0.1;                         // seconds: a reading's onset from its strum's

bool g_verbose = false;
// Readings sure or not, by confidence (tenths) and error: within 3 cents,
// within 50, beyond.
int g_confidence[10][3] = {};
double g_audio = 0, g_cpu = 0;

std::vector<Strum::StrumReading> Track(const Measure::Tuning &tuning, const std::vector<int16_t> &samples) {
  const std::clock_t start = std::clock();
  Strum::StrumTracker tracker(tuning);
  std::vector<Strum::StrumReading> readings;
  for (size_t at = 0; at < samples.size(); at += kBuffer)
    tracker.Feed(samples.data() + at, std::min(kBuffer, samples.size() - at), &readings);
  tracker.Finish(&readings);
  g_cpu += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  g_audio += samples.size() / kRate;
  return readings;
}

std::vector<int16_t> ThroughRoom(const material::Take &take, const material::RoomSettings &room) {
  std::vector<double> sound(take.heard.begin(), take.heard.end());
  std::vector<double> times;
  for (const material::Pluck &p : take.score.plucks)
    if (times.size() <= static_cast<size_t>(p.strum)) times.push_back(p.time);
  material::ApplyRoom(room, times, &sound);
  double peak = 1;
  for (double v : sound) peak = std::max(peak, std::abs(v));
  std::vector<int16_t> out(sound.size());
  for (size_t i = 0; i < sound.size(); ++i) out[i] = static_cast<int16_t>(std::lround(sound[i] * 16000 / peak));
  return out;
}

// What the analyser reads of string s alone over the reading's stretch.
bool Truth(const Measure::Tuning &tuning, const material::Take &take, int s, const Strum::StrumReading &r,
           double *hertz) {
  const std::vector<int16_t> &alone = take.alone[s];
  if (r.to > static_cast<int64_t>(alone.size()) || r.to <= r.from) return false;
  Strum::StrumAnalyzer analyzer(tuning);
  const Strum::StrumReading lone = analyzer.Analyze(alone.data() + r.from, static_cast<int>(r.to - r.from));
  *hertz = lone.strings[s].hertz;
  return lone.strings[s].heard || lone.strings[s].unsure;
}

void Judge(const Cell &cell, const Measure::Tuning &tuning, const material::Take &take,
           const std::vector<Strum::StrumReading> &readings, const std::string &label, Tally *tally) {
  const std::vector<material::Pluck> &plucks = take.score.plucks;
  std::vector<bool> used(readings.size());
  for (size_t i = 0; i < plucks.size();) {
    size_t end = i;
    while (end < plucks.size() && plucks[end].strum == plucks[i].strum) ++end;
    const double first = plucks[i].time, last = plucks[end - 1].time;
    const double next = end < plucks.size() ? plucks[end].time : 1e9;
    std::vector<size_t> mine;
    for (size_t k = 0; k < readings.size(); ++k) {
      const double onset = readings[k].onset / kRate;
      if (onset >= first - kNear && onset <= std::min(last + kNear, next - 0.05)) mine.push_back(k), used[k] = true;
    }
    ++tally->strums;
    if (!mine.empty()) tally->latencies.push_back(readings[mine.front()].ready / kRate - first);
    tally->lost += mine.empty();
    if (g_verbose && !mine.empty() && readings[mine.front()].ready / kRate - first > 1.0)
      std::printf("  %s %s strum %d: read %.3f s after it\n", label.c_str(), cell.Name().c_str(), plucks[i].strum,
                  readings[mine.front()].ready / kRate - first);
    if (g_verbose && mine.empty())
      std::printf("  %s %s strum %d: not found\n", label.c_str(), cell.Name().c_str(), plucks[i].strum);
    for (size_t j = i; j < end; ++j) {
      const material::Pluck &p = plucks[j];
      const Strum::StrumReading *chosen = nullptr, *any = nullptr;
      for (size_t k : mine) {
        if (readings[k].onset / kRate > p.time + kNear) continue;
        if (readings[k].strings[p.string].heard) chosen = &readings[k];
        if (readings[k].strings[p.string].heard || readings[k].strings[p.string].unsure) any = &readings[k];
      }
      double anyTruth = 0;
      if (any && !p.muted && Truth(tuning, take, p.string, *any, &anyTruth)) {
        const double off = std::abs(1200 * std::log2(any->strings[p.string].hertz / anyTruth));
        const int tenth = std::min(9, static_cast<int>(any->strings[p.string].confidence * 10));
        g_confidence[tenth][off <= 3 ? 0 : off <= 50 ? 1 : 2]++;
      }
      if (p.muted) {
        ++tally->muted;
        tally->mutedHeard += chosen != nullptr;
        if (g_verbose && chosen)
          std::printf("  %s %s strum %d string %d: muted, heard at %.2f Hz\n", label.c_str(), cell.Name().c_str(),
                      p.strum, p.string + 1, chosen->strings[p.string].hertz);
        continue;
      }
      const int position = std::min(p.string, Tally::kPositions - 1);
      double truth = 0;
      if (chosen && !Truth(tuning, take, p.string, *chosen, &truth)) {
        ++tally->unknown;
        continue;
      }
      ++tally->ringing, ++tally->ringingAt[position];
      if (!chosen) {
        ++tally->missed, ++tally->missedAt[position];
        if (g_verbose && any)
          std::printf("  %s %s strum %d string %d: not sure (confidence %.2f)\n", label.c_str(), cell.Name().c_str(),
                      p.strum, p.string + 1, any->strings[p.string].confidence);
        else if (g_verbose)
          std::printf("  %s %s strum %d string %d: not heard\n", label.c_str(), cell.Name().c_str(), p.strum,
                      p.string + 1);
        continue;
      }
      const double cents = 1200 * std::log2(chosen->strings[p.string].hertz / truth);
      if (std::abs(cents) > 50) ++tally->wrong;
      else tally->errors.push_back(std::abs(cents));
      if (g_verbose && std::abs(cents) > 3)
        std::printf("  %s %s strum %d string %d: %.3f Hz read as %.3f Hz (%+.2f c)\n", label.c_str(),
                    cell.Name().c_str(), p.strum, p.string + 1, truth, chosen->strings[p.string].hertz, cents);
    }
    i = end;
  }
  for (size_t k = 0; k < readings.size(); ++k) {
    if (used[k]) continue;
    ++tally->extra;
    if (g_verbose)
      std::printf("  %s %s: a strum at %.3f s that was none\n", label.c_str(), cell.Name().c_str(),
                  readings[k].onset / kRate);
  }
}

std::string Option(int argc, char **argv, const std::string &name, const std::string &fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (argv[i] == name) return argv[i + 1];
  return fallback;
}

bool Flag(int argc, char **argv, const std::string &name) {
  for (int i = 1; i < argc; ++i)
    if (argv[i] == name) return true;
  return false;
}

}  // namespace

int main(int argc, char **argv) {
  g_verbose = Flag(argc, argv, "-v");
  const std::string partName = Option(argc, argv, "--part", "tuning");
  if (partName != "tuning" && partName != "held-out") {
    std::fputs("usage: strum_accuracy [--part tuning|held-out] [--cache DIR] [--strums N] [--only MATERIAL] "
               "[--kind KIND] [--tunings] [--guitar | --instruments] [--take NAME] [-v]\n", stderr);
    return 2;
  }
  const Part part = partName == "tuning" ? Part::kTuning : Part::kHeldOut;
  const std::string cache = Option(argc, argv, "--cache", "/work/material-cache");
  const std::string only = Option(argc, argv, "--only", "");
  const std::string kind = Option(argc, argv, "--kind", "");
  const std::string takeName = Option(argc, argv, "--take", "");
  const int strums = std::atoi(Option(argc, argv, "--strums", "4").c_str());
  const material::RoomSettings room = part == Part::kTuning ? material::TuningRoom() : material::HeldOutRoom();
  std::map<std::string, Tally> byKind, byTuning, byMaterial, byInstrument, byInstrumentKind;
  Tally all, instruments;
  const bool guitarOnly = Flag(argc, argv, "--guitar"), instrumentsOnly = Flag(argc, argv, "--instruments");
  const bool cachedOnly = Flag(argc, argv, "--cached");
  int leftOut = 0;
  for (const Cell &cell : MakeCells(part, strums)) {
    if (!only.empty() && cell.material != only) continue;
    if (!kind.empty() && cell.kind != kind) continue;
    if (!takeName.empty() && cell.Name() != takeName) continue;
    if ((guitarOnly && cell.instrument) || (instrumentsOnly && !cell.instrument)) continue;
    material::Take take;
    std::string error;
    if (cachedOnly && !material::ReadTake(cache, cell.Name(), &take)) {
      ++leftOut;
      continue;
    }
    if (!cachedOnly && !TakeOf(cache, cell, &take, &error)) {
      std::fprintf(stderr, "strum_accuracy: %s: %s\n", cell.Name().c_str(), error.c_str());
      return 1;
    }
    Measure::Tuning tuning;
    Measure::ParseTuning(cell.tuning, &tuning, &error);
    for (const char *condition : {"clean", "room"}) {
      const std::vector<int16_t> heard = std::string(condition) == "clean" ? take.heard : ThroughRoom(take, room);
      Tally t;
      const std::string label = cell.material + " " + condition;
      Judge(cell, tuning, take, Track(tuning, heard), label, &t);
      if (cell.instrument) {
        byInstrument[cell.tuning + " " + label].Add(t);
        byInstrumentKind[cell.tuning + " " + label + " " + cell.kind].Add(t);
        instruments.Add(t);
        continue;
      }
      byKind[label + " " + cell.kind].Add(t);
      byTuning[label + " " + cell.kind + " " + cell.tuning].Add(t);
      byMaterial[label].Add(t);
      all.Add(t);
    }
  }
  std::printf("part: %s (room: high-pass %.0f Hz, RT60 %.2f s, reverb %.0f dB, hum %.0f Hz %.0f dB, noise %.0f dB)\n",
              partName.c_str(), room.highPass, room.rt60, room.reverbDb, room.humHertz, room.humDb, room.noiseDb);
  PrintHeader();
  for (const auto &[label, t] : byKind) PrintRow(label, t);
  std::printf("\n");
  for (const auto &[label, t] : byMaterial) PrintRow(label, t);
  PrintRow("all", all);
  if (Flag(argc, argv, "--tunings")) {
    std::printf("\n");
    for (const auto &[label, t] : byTuning) PrintRow(label, t);
  }
  if (!byInstrument.empty()) {
    std::printf("\nother instruments\n");
    for (const auto &[label, t] : byInstrument) PrintRow(label, t);
    PrintRow("all instruments", instruments);
    std::printf("strum to reading (s), instruments: median %.3f, max %.3f\n", Percentile(instruments.latencies, 0.5),
                Percentile(instruments.latencies, 1.0));
    if (Flag(argc, argv, "--tunings")) {
      std::printf("\n");
      for (const auto &[label, t] : byInstrumentKind) PrintRow(label, t);
    }
  }
  std::printf("\nreadings by confidence: within 3 c / within 50 c / beyond\n");
  for (int c = 0; c < 10; ++c)
    std::printf("  %.1f-%.1f  %6d %6d %6d\n", c / 10.0, (c + 1) / 10.0, g_confidence[c][0], g_confidence[c][1],
                g_confidence[c][2]);
  if (cachedOnly) std::printf("\ntakes not rendered yet, left out: %d\n", leftOut);
  std::printf("\nstring readings without a truth (the string alone not heard): %d\n", all.unknown);
  std::printf("strum to reading (s): median %.3f, max %.3f\n", Percentile(all.latencies, 0.5),
              Percentile(all.latencies, 1.0));
  std::printf("speed: %.0f times real time (%.0f s of sound in %.1f s)\n", g_audio / g_cpu, g_audio, g_cpu);
  return 0;
}
