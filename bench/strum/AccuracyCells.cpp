#include "AccuracyCells.h"

#include <sys/stat.h>

#include "WavFile.h"
#include "measure/Tuning.h"

namespace {

constexpr uint64_t kHeldOutSeeds = 100000;
// The guitar's ten six-string tunings, named first (the strum check reads
// six strings; the baritone and six-string bass tunings named after them
// are left to the strum check's N-string work).
constexpr int kTunings = 10;
const int kPrograms[] = {material::kNylonGuitar, material::kSteelGuitar, material::kJazzGuitar, material::kCleanGuitar};

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

std::vector<Cell> MakeCells(Part part, int strums) {
  const std::vector<std::string> materials =
      part == Part::kTuning ? std::vector<std::string>{"model", "fluidr3", "musescore"}
                            : std::vector<std::string>{"model", "timgm6mb"};
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
  return cells;
}

bool TakeOf(const std::string &cache, const Cell &cell, material::Take *take, std::string *error) {
  const std::string name = cell.Name();
  if (material::ReadTake(cache, name, take)) return true;
  mkdir(cache.c_str(), 0755);
  return material::MakeTake(cell.source, cell.score, std::nullopt, cache, take, error) &&
         material::WriteTake(cache, name, *take, error);
}
