#pragma once

// The tuner run live on the real clock as a child, in a window or headless,
// its text trace read as it comes: what the gauge reads and what the caption
// strip says, so a test acts on what the user sees instead of on time.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "TunerRun.h"

namespace tuner {

// The frequency the gauge shows in a "Drovane" trace text while it reads a
// note (with Ok, Up or Down); 0 when it shows none (the needle grey).
inline double GaugeHz(const std::string &text) {
  if (text.find(" | Ok | ") == std::string::npos && text.find(" | Up | ") == std::string::npos &&
      text.find(" | Down | ") == std::string::npos)
    return 0;
  const size_t hz = text.rfind(" Hz");
  const size_t begin = text.rfind("\\n", hz);
  return hz == std::string::npos || begin == std::string::npos ? 0 : std::atof(text.c_str() + begin + 2);
}

// How many times `part` stands in `text`.
inline size_t Count(const std::string &text, const std::string &part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

inline double Cents(double hz, double from) { return 1200 * std::log2(hz / from); }

// What the gauge showed longest through one sound: the trace has a line
// only when a text changes, so each reading counts for the time it stood,
// from `shown` (time, Hz) up to `end`. 0 for none.
inline double Steadiest(std::vector<std::pair<double, double>> shown, double end) {
  std::vector<std::pair<double, double>> spans;  // Hz, seconds shown
  for (size_t i = 0; i < shown.size(); ++i)
    spans.emplace_back(shown[i].second, (i + 1 < shown.size() ? shown[i + 1].first : end) - shown[i].first);
  std::sort(spans.begin(), spans.end());
  double total = 0, sum = 0;
  for (const auto &s : spans) total += s.second;
  for (const auto &s : spans)
    if ((sum += s.second) >= total / 2) return s.first;
  return 0;
}

// Reads `lines` through the next sound the gauge reads, from its first
// reading to the needle going grey: Steadiest of it, or 0 when none ends.
template <class NextLine>
double ReadSound(NextLine next) {
  std::vector<std::pair<double, double>> shown;
  for (const TraceLine *l; (l = next());) {
    if (l->source != "Drovane") continue;
    const double hz = GaugeHz(l->text);
    if (hz == 0 && !shown.empty()) return Steadiest(shown, l->time);
    if (hz > 0) shown.emplace_back(l->time, hz);
  }
  return 0;
}

// What the gauge read of a sound file (see ReadSound), headless on the
// virtual clock.
inline double HeardInFile(const std::string &path, const std::string &args = "") {
  const Outcome r = RunTuner("--capture " + path + " --playback null " + args);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::vector<TraceLine> trace = ParseTrace(r.out);
  size_t at = 0;
  return ReadSound([&]() -> const TraceLine * { return at < trace.size() ? &trace[at++] : nullptr; });
}

class LiveTuner {
 public:
  LiveTuner(const std::vector<std::string> &args, const std::vector<std::string> &env)
      : errPath_(OutputPath("live-tuner.err")), child_(DROVANE_TUNER, WithTrace(args), env, errPath_) {}

  bool Started() const { return child_.Started(); }
  ChildProcess &Process() { return child_; }
  std::string Err() const { return Slurp(errPath_); }

  // Reads the trace up to the first line for which `wanted` holds; false
  // when the trace ends first.
  bool Until(const std::function<bool(const TraceLine &)> &wanted) {
    for (std::string line; child_.ReadLine(&line);) {
      const std::vector<TraceLine> parsed = ParseTrace(line + "\n");
      if (!parsed.empty() && wanted(parsed[0])) {
        last_ = parsed[0];
        return true;
      }
    }
    return false;
  }
  // Reads up to the phone being on: its caption strip drawn.
  bool UntilOn() {
    return Until([](const TraceLine &l) { return l.source == "caption" && !l.text.empty(); });
  }
  // Reads up to the caption strip's notice becoming `text` ("": gone).
  bool UntilNotice(const std::string &text) {
    return Until([&](const TraceLine &l) { return l.source == "notice" && l.text == text; });
  }
  // Reads through the next sound the gauge reads (see ReadSound).
  double NextSound() {
    return ReadSound([this]() -> const TraceLine * {
      return Until([](const TraceLine &) { return true; }) ? &last_ : nullptr;
    });
  }
  // The trace line Until found last.
  const TraceLine &Last() const { return last_; }

 private:
  // The test ends the run; the duration only keeps a broken one from hanging.
  static std::vector<std::string> WithTrace(std::vector<std::string> args) {
    args.insert(args.end(), {"--clock", "real", "--trace-text", "--duration", "600"});
    return args;
  }

  std::string errPath_;
  ChildProcess child_;
  TraceLine last_{};
};

}  // namespace tuner
