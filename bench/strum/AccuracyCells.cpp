#include "AccuracyCells.h"

#include <sys/stat.h>

#include "WavFile.h"
#include "measure/Tuning.h"

namespace {

constexpr uint64_t kHeldOutSeeds = 100000;
// The guitar's ten six-string tunings, named first.
constexpr int kTunings = 10;
const int kPrograms[] = {material::kNylonGuitar, material::kSteelGuitar, material::kJazzGuitar, material::kCleanGuitar};
// The General MIDI basses, acoustic to synth; a ukulele is played by the
// nylon guitar, whose samples at G4…A4 are its register's.
constexpr int kFirstBass = material::kAcousticBass, kBasses = 7;

struct Instrument {
  const char *tuning;
  bool bass;
};
const Instrument kInstruments[] = {{"bass-4", true}, {"bass-5", true}, {"seven-string", false}, {"ukulele", false}};

struct Kind {
  const char *name;
  material::StrumKind kind;
  double spacing;
  bool everyTuning;
};

const Kind kKinds[] = {
    {"down", material::StrumKind::kDown, 2.5, true},       {"up", material::StrumKind::kUp, 2.5, true},
    {"fast", material::StrumKind::kFast, 2.5, true},       {"arpeggio", material::StrumKind::kArpeggio, 2.5, true},
    {"alone", material::StrumKind::kAlone, 2.0, false},    {"seq0.3", material::StrumKind::kDown, 0.3, false},
    {"seq1", material::StrumKind::kDown, 1.0, false},      {"seq2", material::StrumKind::kDown, 2.0, false},
};

}  // namespace

std::string Cell::Name() const {
  std::string program = source.kind == material::Source::Kind::kModel ? std::to_string(source.seed)
                                                                        : std::to_string(source.program);
  return material + "-" + program + "-" + kind + "-" + tuning + (detuned ? "-detuned" : "-in-tune") + "-" +
         std::to_string(score.plucks.size());
}

namespace {

std::vector<std::string> Materials(Part part) {
  return part == Part::kTuning ? std::vector<std::string>{"model", "fluidr3", "musescore"}
                               : std::vector<std::string>{"model", "timgm6mb"};
}

Measure::Tuning Named(const std::string &name) {
  Measure::Tuning tuning;
  std::string why;
  Measure::ParseTuning(name, &tuning, &why);
  return tuning;
}

int ProgramOf(const Instrument &instrument, int variant) {
  if (instrument.bass) return kFirstBass + variant % kBasses;
  return std::string(instrument.tuning) == "ukulele" ? material::kNylonGuitar : kPrograms[variant % 4];
}

// The other instruments' cells: every strum kind that is played on every
// tuning, in tune and detuned.
void AddInstruments(Part part, int strums, uint64_t index, std::vector<Cell> *cells) {
  int variant = 0;
  for (const std::string &m : Materials(part))
    for (const Kind &kind : kKinds) {
      if (!kind.everyTuning) continue;
      for (const Instrument &instrument : kInstruments) {
        const Measure::Tuning tuning = Named(instrument.tuning);
        for (bool detuned : {false, true}) {
          Cell c;
          c.material = m;
          c.kind = kind.name;
          c.tuning = instrument.tuning;
          c.detuned = detuned;
          c.instrument = true;
          ++index;
          const uint64_t seed = (part == Part::kHeldOut ? kHeldOutSeeds : 1) + index;
          material::ParseSource(m != "model" ? m : instrument.bass ? "model-bass" : "model", &c.source);
          c.source.seed = seed;
          c.source.program = ProgramOf(instrument, variant++);
          material::StrumPlan plan;
          plan.notes.assign(tuning.notes.begin(), tuning.notes.end());
          plan.kind = kind.kind;
          plan.spacing = kind.spacing;
          plan.strums = strums;
          plan.detune = detuned ? 30 : 0;
          c.score = material::MakeStrums(plan, seed);
          cells->push_back(std::move(c));
        }
      }
    }
}

}  // namespace

std::vector<Cell> MakeCells(Part part, int strums) {
  const std::vector<std::string> materials = Materials(part);
  std::vector<Cell> cells;
  uint64_t index = 0;
  for (const std::string &m : materials)
    for (const Kind &kind : kKinds) {
      int t = 0;
      for (const Measure::NamedTuning &named : Measure::NamedTunings()) {
        if (named.tuning.Strings() != 6) continue;
        if (t == kTunings || (!kind.everyTuning && t > 0)) break;
        for (bool detuned : {false, true}) {
          Cell c;
          c.material = m;
          c.kind = kind.name;
          c.tuning = named.name;
          c.detuned = detuned;
          ++index;
          const uint64_t seed = (part == Part::kHeldOut ? kHeldOutSeeds : 1) + index;
          material::ParseSource(m == "model" ? "model" : m, &c.source);
          c.source.seed = seed;
          c.source.program = kPrograms[(t + detuned) % 4];
          material::StrumPlan plan;
          plan.notes.assign(named.tuning.notes.begin(), named.tuning.notes.end());
          plan.kind = kind.kind;
          plan.spacing = kind.spacing;
          plan.strums = kind.spacing < 1 ? 2 * strums : strums;
          plan.detune = detuned ? 30 : 0;
          c.score = material::MakeStrums(plan, seed);
          cells.push_back(std::move(c));
        }
        ++t;
      }
    }
  AddInstruments(part, strums, index, &cells);
  return cells;
}

bool TakeOf(const std::string &cache, const Cell &cell, material::Take *take, std::string *error) {
  const std::string name = cell.Name();
  if (material::ReadTake(cache, name, take)) return true;
  mkdir(cache.c_str(), 0755);
  return material::MakeTake(cell.source, cell.score, std::nullopt, cache, take, error) &&
         material::WriteTake(cache, name, *take, error);
}
