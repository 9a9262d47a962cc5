// material-render: test material for the tuner and the strum check, as WAV
// files and a truth file (see material/WavFile.h). Run by hand, by the
// accuracy report and by the benchmarks; never installed.
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "Take.h"
#include "WavFile.h"
#include "measure/Tuning.h"

namespace {

constexpr char kUsage[] =
    "usage: material-render --out DIR --name NAME [--source SOURCE] [--seed N] [--room ROOM]\n"
    "         (--note NOTE [--cents C] [--seconds S] | [--tuning T] [--kind KIND] [--strums N]\n"
    "          [--spacing S] [--detune C | --cents C1,C2,...] [--no-mutes]) [--reference HZ]\n"
    "SOURCE: model (default), model-bass, or FONT:PROGRAM with FONT fluidr3, musescore or\n"
    "  timgm6mb and PROGRAM a General MIDI program from 1 (25 nylon, 26 steel, 27 jazz,\n"
    "  28 clean electric guitar; 33-39 basses)\n"
    "ROOM: none (default), tuning or held-out (a microphone in a room)\n"
    "KIND: down (default), up, fast, arpeggio or alone\n"
    "NOTE: a MIDI number or a name (B0, E2, F#3, Bb4)\n"
    "Writes DIR/NAME.wav, DIR/NAME-alone-S.wav for each string and DIR/NAME.truth.csv.\n";

int Usage(const std::string &why) {
  std::fprintf(stderr, "material-render: %s\n%s", why.c_str(), kUsage);
  return 2;
}

// A MIDI number or a scientific name.
bool ParseNote(const std::string &text, int *midi) {
  char *end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (!text.empty() && *end == '\0') return *midi = static_cast<int>(number), number >= 0 && number <= 127;
  static const std::map<char, int> steps = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
  if (text.empty() || !steps.count(static_cast<char>(std::toupper(text[0])))) return false;
  int note = steps.at(static_cast<char>(std::toupper(text[0])));
  size_t at = 1;
  if (at < text.size() && (text[at] == '#' || text[at] == 'b')) note += text[at++] == '#' ? 1 : -1;
  const long octave = std::strtol(text.c_str() + at, &end, 10);
  if (at >= text.size() || *end != '\0') return false;
  *midi = note + 12 * static_cast<int>(octave + 1);
  return *midi >= 0 && *midi <= 127;
}

}  // namespace

int main(int argc, char **argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") return std::fputs(kUsage, stdout), 0;
    if (arg == "--no-mutes") {
      options.emplace(arg, std::string(1, '1'));
      continue;
    }
    if (arg.rfind("--", 0) != 0 || i + 1 >= argc) return Usage("unexpected '" + arg + "'");
    options[arg] = std::string(argv[++i]);
  }
  auto get = [&](const char *name, const char *fallback) {
    return options.count(name) ? options[name] : std::string(fallback);
  };
  if (!options.count("--out") || !options.count("--name")) return Usage("--out and --name are needed");
  material::Source source;
  if (!material::ParseSource(get("--source", "model"), &source)) return Usage("unknown source " + get("--source", ""));
  source.seed = std::strtoull(get("--seed", "1").c_str(), nullptr, 10);
  const double reference = std::atof(get("--reference", "440").c_str());
  material::Score score;
  if (options.count("--note")) {
    int midi = 0;
    if (!ParseNote(options["--note"], &midi)) return Usage("bad note " + options["--note"]);
    score = material::MakeNote(midi, std::atof(get("--cents", "0").c_str()), std::atof(get("--seconds", "3").c_str()),
                               0.85, reference);
  } else {
    Measure::Tuning tuning;
    std::string error;
    if (!Measure::ParseTuning(get("--tuning", "standard"), &tuning, &error)) return Usage(error);
    material::StrumPlan plan;
    plan.notes.assign(tuning.notes.begin(), tuning.notes.end());
    if (!material::ParseKind(get("--kind", "down"), &plan.kind)) return Usage("unknown kind " + get("--kind", ""));
    plan.strums = std::atoi(get("--strums", "6").c_str());
    plan.spacing = std::atof(get("--spacing", "2.5").c_str());
    plan.detune = std::atof(get("--detune", "0").c_str());
    for (size_t at = 0, comma; options.count("--cents") && at <= options["--cents"].size(); at = comma + 1) {
      comma = std::min(options["--cents"].find(',', at), options["--cents"].size());
      plan.cents.push_back(std::atof(options["--cents"].substr(at, comma - at).c_str()));
    }
    plan.mutes = !options.count("--no-mutes");
    plan.reference = reference;
    score = material::MakeStrums(plan, source.seed);
  }
  std::optional<material::RoomSettings> room;
  const std::string roomName = get("--room", "none");
  if (roomName == "tuning") room = material::TuningRoom();
  else if (roomName == "held-out") room = material::HeldOutRoom();
  else if (roomName != "none") return Usage("unknown room " + roomName);
  material::Take take;
  std::string error;
  if (!material::MakeTake(source, score, room, options["--out"], &take, &error) ||
      !material::WriteTake(options["--out"], options["--name"], take, &error)) {
    std::fprintf(stderr, "material-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
