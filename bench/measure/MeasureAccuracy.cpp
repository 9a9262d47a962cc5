// measure_accuracy: how quickly and finely the tuner's measurers read single
// notes (run by scripts/measure-accuracy.sh).
//
//   measure_accuracy [--part tuning|held-out] [--work DIR] [--takes N]
//                    [--only TEXT] [--measurer phone|precise-today|fine]
//                    [--truth nominal|clean] [-v]
//
// Notes are rendered here, never kept: sampled guitars and basses of the
// part's sound fonts (FluidR3 and MuseScore General to tune on, TimGM6mb
// held out) and our string model (seeds below 100000 to tune on, from
// 100000 held out), guitars E2 to E5, basses B0 (model only) to G2, each a
// random −30…+30 cents off its note, struck 0.3 s into a 3 s take after a
// second of silence; each read clean and through the part's room. Three measurers read every take, fed
// in the tuner's 100 ms capture buffers: the phone's, the guitar measurer
// with today's precise refinement, and the fine measurer.
//
// A reading's time is the end of the sound its block read. Per note:
// - latency: from the pluck to the first reading within 10 cents of the
//   truth (the model's exact first partial; a sound font's nominal pitch,
//   or with --truth clean the note's own: the fine measurer's steady median
//   of the clean take, since a sample may be recorded cents off its note);
// - error: the median reading of the steady part (0.5 s after the pluck to
//   the take's end) against the truth; spread: the standard deviation of
//   the steady readings, in cents;
// - wrong and octave: readings more than half a semitone from the truth,
//   an octave or two away or not, from the pluck on (and in the steady
//   part only).
// Rows by material, condition and measurer; "all" sums each condition,
// "bass E1" and "bass B0" the basses' lowest notes of every material.
// --only keeps the notes whose row names hold TEXT, --measurer one measurer;
// -v lists every note's reading.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "Random.h"
#include "Room.h"
#include "Take.h"
#include "base/SoundFormat.h"
#include "filters/BaseFilter.h"
#include "filters/MediaSample.h"
#include "measure/GuitarFactory.h"
#include "measure/MidiTypes.h"
#include "measure/SampleDataPack.h"

namespace {

constexpr double kRate = drovane::kSampleRate;
constexpr size_t kBuffer = drovane::kSampleRate / 10;  // the tuner's capture buffer
constexpr double kLead = 1.0;  // seconds of silence before each take: the phone's measurer is running by the pluck
constexpr double kPluck = kLead + 0.3;                // seconds into the take (material::MakeNote)
constexpr double kSteady = 0.5;                       // seconds after the pluck

struct Reading {
  double seconds;  // end of the sound read
  double note;
};

struct Sink : BaseFilter {
  HRESULT WriteSample(AV::IMediaSample *sample) override {
    int64_t start = 0, duration = 0;
    sample->GetInfo(&start, &duration, nullptr, nullptr);
    const Measure::Result *records = nullptr;
    unsigned count = 0;
    if (GetSampleSPLResults(sample, &records, &count) == 0)
      for (unsigned i = 0; i < count; ++i) readings.push_back({(start + duration) * 1e-7, records[i].note});
    return 0;
  }
  std::vector<Reading> readings;
};

enum class Kind { kPhone, kTodayPrecise, kFine };
const char *const kKindNames[] = {"phone", "precise-today", "fine"};

std::vector<Reading> Read(Kind kind, const std::vector<int16_t> &audio) {
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  if (kind == Kind::kTodayPrecise) factory->KeepGuitarMeasurer();
  if (kind != Kind::kPhone) factory->SetRefinement(Measure::Refinement::kPrecise);
  RCPtr<IFilter> measurer;
  factory->CreateMeasurer(&measurer, nullptr);
  RCPtr<Sink> sink(new Sink);
  measurer->PlugPin(sink.get());
  measurer->SetStartPosition(0);
  measurer->NotifyEvent(IFilter::kEventStart);
  for (size_t at = 0; at < audio.size(); at += kBuffer) {
    const size_t n = std::min(kBuffer, audio.size() - at);
    uint8_t *data = nullptr;
    RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, static_cast<uint32_t>(2 * n), &data));
    std::copy(audio.begin() + at, audio.begin() + at + n, reinterpret_cast<int16_t *>(data));
    measurer->WriteSample(s.get());
  }
  measurer->NotifyEvent(IFilter::kEventStop);
  measurer->UnplugAll();
  return sink->readings;
}

struct Tally {
  int notes = 0, unread = 0, wrong = 0, octave = 0, steadyWrong = 0, steadyOctave = 0;
  std::vector<double> latencies, errors, spreads;
  double offset = NAN;  // of the last note judged: its steady median, signed (c)
};

void Judge(const std::vector<Reading> &readings, double truth, double end, Tally *t) {
  ++t->notes;
  double latency = -1;
  std::vector<double> steady;
  for (const Reading &r : readings) {
    if (r.note == 0 || r.seconds < kPluck) continue;
    const double off = r.note - truth;
    const bool isSteady = r.seconds >= kPluck + kSteady && r.seconds <= end;
    if (std::fabs(off) > 0.5) {
      const bool octave = std::fabs(off - 12 * std::round(off / 12)) <= 0.5;
      (octave ? t->octave : t->wrong)++;
      if (isSteady) (octave ? t->steadyOctave : t->steadyWrong)++;
      continue;
    }
    if (latency < 0 && std::fabs(off) <= 0.1) latency = r.seconds - kPluck;
    if (isSteady) steady.push_back(100 * off);
  }
  if (latency < 0) ++t->unread;
  else t->latencies.push_back(latency);
  if (steady.size() < 3) return;
  std::vector<double> sorted(steady);
  std::sort(sorted.begin(), sorted.end());
  t->offset = sorted[sorted.size() / 2];
  t->errors.push_back(std::fabs(t->offset));
  double mean = 0, square = 0;
  for (double c : steady) mean += c;
  mean /= static_cast<double>(steady.size());
  for (double c : steady) square += (c - mean) * (c - mean);
  t->spreads.push_back(std::sqrt(square / static_cast<double>(steady.size())));
}

double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))];
}

struct Job {
  std::string group;  // what the row is named by
  material::Source source;
  int midi;
};

material::Source FontSource(const std::string &font, int program) {
  material::Source s;
  s.kind = material::Source::Kind::kSoundFont;
  s.font = font;
  s.program = program;
  return s;
}

material::Source ModelSource(material::StringKind kind, uint64_t seed) {
  material::Source s;
  s.strings = kind;
  s.seed = seed;
  return s;
}

bool LowBass(const std::string &group) { return group.ends_with("bass E1") || group.ends_with("bass B0"); }

std::vector<Job> Jobs(bool heldOut, int takes) {
  std::vector<Job> jobs;
  const int guitar[] = {40, 45, 50, 55, 59, 64, 69, 76};
  const int bass[] = {28, 33, 38, 43};
  const std::vector<std::string> fonts =
      heldOut ? std::vector<std::string>{"timgm6mb"} : std::vector<std::string>{"fluidr3", "musescore"};
  for (const std::string &font : fonts) {
    const material::SoundFont *f = material::FindSoundFont(font);
    if (!f || !material::Installed(*f)) {
      std::fprintf(stderr, "measure_accuracy: %s is not installed (package %s): left out\n", font.c_str(),
                   f ? f->package.c_str() : "?");
      continue;
    }
    for (int program : {material::kNylonGuitar, material::kSteelGuitar, material::kCleanGuitar})
      for (int midi : guitar) jobs.push_back({font + " guitar", FontSource(font, program), midi});
    for (int program : {material::kAcousticBass, material::kFingerBass, material::kPickBass})
      for (int midi : bass)
        jobs.push_back({font + (midi == 28 ? " bass E1" : " bass"), FontSource(font, program), midi});
  }
  const uint64_t seed0 = heldOut ? 100000 : 1;
  for (int k = 0; k < takes; ++k) {
    for (int midi : guitar)
      jobs.push_back({"model guitar", ModelSource(material::StringKind::kGuitar, seed0 + k), midi});
    for (int midi : {23, 28, 33, 38, 43})
      jobs.push_back({midi == 23 ? "model bass B0" : midi == 28 ? "model bass E1" : "model bass",
                      ModelSource(material::StringKind::kBass, seed0 + k), midi});
  }
  return jobs;
}

std::vector<int16_t> ThroughRoom(const std::vector<int16_t> &clean, const material::RoomSettings &room) {
  std::vector<double> sound(clean.begin(), clean.end());
  material::ApplyRoom(room, {kPluck - kLead}, &sound);
  double peak = 1;
  for (double v : sound) peak = std::max(peak, std::abs(v));
  std::vector<int16_t> out(sound.size());
  for (size_t i = 0; i < sound.size(); ++i) out[i] = static_cast<int16_t>(std::lround(sound[i] * 16000 / peak));
  return out;
}

// The take after kLead seconds of silence.
std::vector<int16_t> Padded(const std::vector<int16_t> &take) {
  std::vector<int16_t> heard(static_cast<size_t>(kLead * kRate), 0);
  heard.insert(heard.end(), take.begin(), take.end());
  return heard;
}

// A sampled note's own pitch: the fine measurer's steady median of its clean
// take, where that lies within half a semitone of the nominal note.
double OwnPitch(const std::vector<int16_t> &clean, double nominal, double end) {
  Tally t;
  Judge(Read(Kind::kFine, clean), nominal, end, &t);
  return std::isnan(t.offset) ? nominal : nominal + t.offset / 100;
}

std::string Option(int argc, char **argv, const std::string &name, const std::string &fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (argv[i] == name) return argv[i + 1];
  return fallback;
}

void PrintRow(const std::string &name, const Tally &t) {
  std::printf("%-32s %5d %6.3f %6.3f %5d %7.2f %7.2f %7.2f %7.2f %6d %6d %6d %6d\n", name.c_str(), t.notes,
              Quantile(t.latencies, 0.5), Quantile(t.latencies, 0.9), t.unread, Quantile(t.errors, 0.5),
              Quantile(t.errors, 0.9), Quantile(t.spreads, 0.5), Quantile(t.spreads, 0.9), t.wrong, t.octave,
              t.steadyWrong, t.steadyOctave);
}

void Add(const Tally &from, Tally *to) {
  to->notes += from.notes, to->unread += from.unread, to->wrong += from.wrong, to->octave += from.octave;
  to->steadyWrong += from.steadyWrong, to->steadyOctave += from.steadyOctave;
  to->latencies.insert(to->latencies.end(), from.latencies.begin(), from.latencies.end());
  to->errors.insert(to->errors.end(), from.errors.begin(), from.errors.end());
  to->spreads.insert(to->spreads.end(), from.spreads.begin(), from.spreads.end());
}

}  // namespace

int main(int argc, char **argv) {
  const std::string part = Option(argc, argv, "--part", "tuning");
  const std::string only = Option(argc, argv, "--only", "");
  const std::string measurer = Option(argc, argv, "--measurer", "");
  const bool known =
      measurer.empty() || std::find(std::begin(kKindNames), std::end(kKindNames), measurer) != std::end(kKindNames);
  const std::string truthOf = Option(argc, argv, "--truth", "nominal");
  if ((part != "tuning" && part != "held-out") || !known || (truthOf != "nominal" && truthOf != "clean")) {
    std::fputs("usage: measure_accuracy [--part tuning|held-out] [--work DIR] [--takes N]\n"
               "                        [--only TEXT] [--measurer phone|precise-today|fine]\n"
               "                        [--truth nominal|clean] [-v]\n",
               stderr);
    return 2;
  }
  const bool heldOut = part == "held-out";
  const std::string work = Option(argc, argv, "--work", "/tmp");
  const int takes = std::atoi(Option(argc, argv, "--takes", "3").c_str());
  bool verbose = false;
  for (int i = 1; i < argc; ++i) verbose = verbose || std::string(argv[i]) == "-v";
  const material::RoomSettings room = heldOut ? material::HeldOutRoom() : material::TuningRoom();
  material::Random random(heldOut ? 2 : 1);
  std::map<std::string, Tally> rows;
  for (const Job &job : Jobs(heldOut, takes)) {
    const double cents = random.Uniform(-30, 30);  // drawn for every note, so a note's offset stays under --only
    if (!only.empty() && job.group.find(only) == std::string::npos) continue;
    material::Take take;
    std::string error;
    if (!material::MakeTake(job.source, material::MakeNote(job.midi, cents), std::nullopt, work, &take, &error)) {
      std::fprintf(stderr, "measure_accuracy: %s: %s\n", job.source.Name().c_str(), error.c_str());
      return 1;
    }
    const double end = kLead + static_cast<double>(take.heard.size()) / kRate;
    const bool sampled = take.hertz.empty() || take.hertz[0] == 0;
    double truth = sampled ? job.midi + cents / 100 : NoteFromFrequency(take.hertz[0], take.score.reference);
    if (sampled && truthOf == "clean") truth = OwnPitch(Padded(take.heard), truth, end);
    const std::string seed = sampled ? "" : std::to_string(job.source.seed);
    for (const char *condition : {"clean", "room"}) {
      const std::vector<int16_t> heard = Padded(condition[0] == 'c' ? take.heard : ThroughRoom(take.heard, room));
      for (Kind kind : {Kind::kPhone, Kind::kTodayPrecise, Kind::kFine}) {
        const std::string name = kKindNames[static_cast<int>(kind)];
        if (!measurer.empty() && name != measurer) continue;
        Tally one;
        Judge(Read(kind, heard), truth, end, &one);
        if (verbose)
          std::printf("  %s%s%s %s %d%+.0f %s: latency %.2f s, error %+.2f c, %d wrong, %d octave\n",
                      job.source.Name().c_str(), seed.empty() ? "" : " ", seed.c_str(), condition, job.midi, cents, name.c_str(), one.latencies.empty() ? NAN : one.latencies[0],
                      one.offset, one.wrong, one.octave);
        Add(one, &rows[job.group + " " + condition + " " + name]);
        Add(one, &rows[std::string("all ") + condition + " " + name]);
        if (LowBass(job.group)) Add(one, &rows[job.group.substr(job.group.size() - 7) + " " + condition + " " + name]);
      }
    }
  }
  std::printf("%s part: latency (s) to the first reading within 10 c; error and spread (c) of the steady part;\n"
              "wrong and octave readings, from the pluck and in the steady part\n",
              part.c_str());
  std::printf("%-32s %5s %6s %6s %5s %7s %7s %7s %7s %6s %6s %6s %6s\n", "material condition measurer", "notes",
              "lat50", "lat90", "unrd", "err50", "err90", "spr50", "spr90", "wrong", "oct", "stWr", "stOct");
  for (const auto &[name, tally] : rows) PrintRow(name, tally);
  return 0;
}
