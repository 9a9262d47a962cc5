#include "SoundFont.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/SoundFormat.h"

namespace material {

namespace {

constexpr int kTicks = 480;           // per quarter note
constexpr int kTempo = 500000;        // microseconds per quarter note: a tick is 1/960 s
constexpr double kMutedLength = 0.08;  // seconds a muted string sounds
constexpr int kMutedChannels = 10;    // muted strings on channels 10…15 (9 is the drums)

struct Event {
  long tick;
  int order;  // at one tick: set-up, note-offs, pitch bends, note-ons
  std::vector<unsigned char> bytes;
};

long Ticks(double seconds) { return std::lround(seconds * 1e6 / kTempo * kTicks); }

void VariableLength(unsigned long v, std::vector<unsigned char> *out) {
  unsigned char bytes[5];
  int n = 0;
  do bytes[n++] = v & 0x7F, v >>= 7;
  while (v);
  while (n--) out->push_back(static_cast<unsigned char>(bytes[n] | (n ? 0x80 : 0)));
}

int ChannelOf(const Pluck &p) { return p.muted ? kMutedChannels + p.string % 6 : p.string % 9; }

void SetUp(int channel, int program, std::vector<Event> *events) {
  const unsigned char c = static_cast<unsigned char>(channel);
  const std::vector<std::vector<unsigned char>> setup = {
      {static_cast<unsigned char>(0xC0 | c), static_cast<unsigned char>(program - 1)},
      // Pitch-bend range two semitones (RPN 0), then the RPN closed.
      {static_cast<unsigned char>(0xB0 | c), 101, 0}, {static_cast<unsigned char>(0xB0 | c), 100, 0},
      {static_cast<unsigned char>(0xB0 | c), 6, 2}, {static_cast<unsigned char>(0xB0 | c), 38, 0},
      {static_cast<unsigned char>(0xB0 | c), 101, 127}, {static_cast<unsigned char>(0xB0 | c), 100, 127},
      {static_cast<unsigned char>(0xB0 | c), 91, 0}, {static_cast<unsigned char>(0xB0 | c), 93, 0},
      {static_cast<unsigned char>(0xB0 | c), 10, 64}, {static_cast<unsigned char>(0xB0 | c), 7, 100}};
  for (const auto &bytes : setup) events->push_back({0, 0, bytes});
}

int Bend(double cents) { return std::clamp(static_cast<int>(std::lround(8192 + cents / 200 * 8192)), 0, 16383); }

// The child silences its output by descriptor: through stdio it would first
// flush what the parent had buffered but not yet written.
bool Run(const std::vector<std::string> &args, std::string *error) {
  std::vector<char *> argv;
  for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return *error = "cannot start fluidsynth", false;
  if (pid == 0) {
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return *error = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "fluidsynth is not installed (package fluidsynth)"
                                                                     : "fluidsynth failed",
           false;
  return true;
}

// FluidSynth's stereo float output, mixed down.
bool ReadStereoFloat(const std::string &path, size_t length, std::vector<double> *out, std::string *error) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return *error = "cannot read " + path, false;
  out->assign(length, 0.0);
  const size_t frames = std::min(length, bytes.size() / (2 * sizeof(float)));
  for (size_t i = 0; i < frames; ++i) {
    float lr[2];
    std::copy_n(bytes.data() + i * sizeof lr, sizeof lr, reinterpret_cast<char *>(lr));
    (*out)[i] = 0.5 * (lr[0] + lr[1]);
  }
  return true;
}

}  // namespace

const std::vector<SoundFont> &SoundFonts() {
  static const std::vector<SoundFont> fonts = {
      {"fluidr3", "/usr/share/sounds/sf2/FluidR3_GM.sf2", "fluid-soundfont-gm"},
      {"musescore", "/usr/share/sounds/sf3/MuseScore_General_Lite.sf3", "musescore-general-soundfont-small"},
      {"timgm6mb", "/usr/share/sounds/sf2/TimGM6mb.sf2", "timgm6mb-soundfont"},
  };
  return fonts;
}

const SoundFont *FindSoundFont(const std::string &name) {
  for (const SoundFont &f : SoundFonts())
    if (f.name == name) return &f;
  return nullptr;
}

bool Installed(const SoundFont &font) { return access(font.path.c_str(), R_OK) == 0; }

std::vector<unsigned char> MidiFile(const Score &score, int program, int only) {
  std::vector<Event> events;
  events.push_back({0, 0, {0xFF, 0x51, 3, kTempo >> 16, (kTempo >> 8) & 0xFF, kTempo & 0xFF}});
  std::vector<bool> ready(16);
  for (size_t i = 0; i < score.plucks.size(); ++i) {
    const Pluck &p = score.plucks[i];
    if (only >= 0 && p.string != only) continue;
    const int channel = ChannelOf(p);
    if (!ready[channel]) SetUp(channel, p.muted ? kMutedGuitar : program, &events), ready[channel] = true;
    double off = p.muted ? p.time + kMutedLength : score.seconds - 0.05;
    for (size_t j = i + 1; j < score.plucks.size() && !p.muted; ++j)
      if (score.plucks[j].string == p.string) {
        off = score.plucks[j].time;
        break;
      }
    const unsigned char c = static_cast<unsigned char>(channel), note = static_cast<unsigned char>(p.midi);
    const unsigned char velocity = static_cast<unsigned char>(std::clamp(std::lround(p.velocity * 127), 1L, 127L));
    // Each pluck's detuning is bent in just before it.
    const int bend = Bend(p.cents);
    events.push_back({Ticks(p.time), 2,
                      {static_cast<unsigned char>(0xE0 | c), static_cast<unsigned char>(bend & 0x7F),
                       static_cast<unsigned char>(bend >> 7)}});
    events.push_back({Ticks(p.time), 3, {static_cast<unsigned char>(0x90 | c), note, velocity}});
    events.push_back({Ticks(off), 1, {static_cast<unsigned char>(0x80 | c), note, 0}});
  }
  std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<unsigned char> track;
  long now = 0;
  for (const Event &e : events) {
    VariableLength(static_cast<unsigned long>(e.tick - now), &track);
    track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    now = e.tick;
  }
  VariableLength(static_cast<unsigned long>(std::max(0L, Ticks(score.seconds) - now)), &track);
  for (unsigned char b : {0xFF, 0x2F, 0x00}) track.push_back(b);
  const size_t n = track.size();
  const unsigned char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, kTicks >> 8, kTicks & 0xFF,
                                  'M', 'T', 'r', 'k', static_cast<unsigned char>(n >> 24),
                                  static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 8),
                                  static_cast<unsigned char>(n)};
  std::vector<unsigned char> file(std::begin(header), std::end(header));
  file.resize(sizeof header + n);
  std::copy(track.begin(), track.end(), file.begin() + sizeof header);
  return file;
}

bool RenderSoundFont(const SoundFont &font, int program, const Score &score, const std::string &work, Rendered *out,
                     std::string *error) {
  if (!Installed(font)) return *error = font.path + " is not installed (package " + font.package + ")", false;
  const size_t length = static_cast<size_t>(std::llround(score.seconds * drovane::kSampleRate));
  // Named for this process: two renders may share the folder.
  const std::string stem = work + "/render-" + std::to_string(getpid());
  const std::string mid = stem + ".mid", raw = stem + ".raw";
  auto render = [&](int only, std::vector<double> *sound) {
    const std::vector<unsigned char> midi = MidiFile(score, program, only);
    std::ofstream(mid, std::ios::binary).write(reinterpret_cast<const char *>(midi.data()),
                                               static_cast<std::streamsize>(midi.size()));
    return Run({"fluidsynth", "-ni", "-q", "-g", "0.5", "-r", std::to_string(drovane::kSampleRate), "-R", "0", "-C",
                "0", "-T", "raw", "-O", "float", "-F", raw, font.path, mid},
               error) &&
           ReadStereoFloat(raw, length, sound, error);
  };
  out->hertz.assign(score.plucks.size(), 0.0);
  out->alone.assign(score.strings, {});
  if (!render(-1, &out->mix)) return false;
  for (int s = 0; s < score.strings; ++s)
    if (!render(s, &out->alone[s])) return false;
  std::remove(mid.c_str());
  std::remove(raw.c_str());
  return true;
}

}  // namespace material
