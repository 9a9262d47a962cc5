#include "Take.h"

#include <algorithm>
#include <cmath>

#include "StringModel.h"

namespace material {

namespace {

constexpr double kPeak = 0.5 * 32767;

std::vector<int16_t> Scaled(const std::vector<double> &x, double scale) {
  std::vector<int16_t> out(x.size());
  for (size_t i = 0; i < x.size(); ++i)
    out[i] = static_cast<int16_t>(std::clamp(std::floor(x[i] * scale + 0.5), -32768.0, 32767.0));
  return out;
}

double Peak(const std::vector<double> &x) {
  double peak = 1e-12;
  for (double v : x) peak = std::max(peak, std::abs(v));
  return peak;
}

std::vector<double> StrumTimes(const Score &score) {
  std::vector<double> times;
  for (const Pluck &p : score.plucks)
    if (times.empty() || p.strum != score.plucks[&p - score.plucks.data() - 1].strum) times.push_back(p.time);
  return times;
}

}  // namespace

std::string Source::Name() const {
  if (kind == Kind::kModel) return strings == StringKind::kBass ? "model-bass" : "model";
  return font + ":" + std::to_string(program);
}

bool ParseSource(const std::string &text, Source *source) {
  if (text == "model" || text == "model-bass") {
    source->kind = Source::Kind::kModel;
    source->strings = text == "model" ? StringKind::kGuitar : StringKind::kBass;
    return true;
  }
  const size_t colon = text.find(':');
  const std::string font = text.substr(0, colon);
  if (!FindSoundFont(font)) return false;
  int program = kSteelGuitar;
  if (colon != std::string::npos) {
    try {
      program = std::stoi(text.substr(colon + 1));
    } catch (...) {
      return false;
    }
  }
  if (program < 1 || program > 128) return false;
  source->kind = Source::Kind::kSoundFont;
  source->font = font;
  source->program = program;
  return true;
}

bool MakeTake(const Source &source, const Score &score, const std::optional<RoomSettings> &room,
              const std::string &work, Take *take, std::string *error) {
  Rendered rendered;
  if (source.kind == Source::Kind::kModel) {
    rendered = StringModel(source.strings, source.seed).Render(score);
  } else if (!RenderSoundFont(*FindSoundFont(source.font), source.program, score, work, &rendered, error)) {
    return false;
  }
  const double scale = kPeak / Peak(rendered.mix);
  take->score = score;
  take->hertz = rendered.hertz;
  take->alone.clear();
  for (const auto &a : rendered.alone) take->alone.push_back(Scaled(a, scale));
  if (room) {
    ApplyRoom(*room, StrumTimes(score), &rendered.mix);
    take->heard = Scaled(rendered.mix, kPeak / Peak(rendered.mix));
  } else {
    take->heard = Scaled(rendered.mix, scale);
  }
  return true;
}

}  // namespace material
