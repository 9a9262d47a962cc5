#include "WavFile.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/SoundFormat.h"

namespace material {

namespace {

void Put32(std::string *s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s->push_back(static_cast<char>(v >> (8 * i)));
}
void Put16(std::string *s, uint16_t v) {
  for (int i = 0; i < 2; ++i) s->push_back(static_cast<char>(v >> (8 * i)));
}
uint32_t Get(const std::string &s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
  return v;
}

// Writes `bytes` aside and renames them to `path` once whole, so that a
// render cut short never leaves a file that reads as a shorter take.
bool WriteWhole(const std::string &path, const std::string &bytes) {
  const std::string part = path + ".part";
  std::ofstream out(part, std::ios::binary);
  out << bytes;
  out.close();
  return out && std::rename(part.c_str(), path.c_str()) == 0;
}

}  // namespace

bool WriteWav(const std::string &path, const std::vector<int16_t> &samples) {
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  std::string header = "RIFF";
  Put32(&header, 36 + data);
  header += "WAVEfmt ";
  Put32(&header, 16);
  Put16(&header, 1);
  Put16(&header, 1);
  Put32(&header, drovane::kSampleRate);
  Put32(&header, drovane::kSampleRate * 2);
  Put16(&header, 2);
  Put16(&header, 16);
  header += "data";
  Put32(&header, data);
  std::string body(samples.size() * 2, '\0');
  for (size_t i = 0; i < samples.size(); ++i) {
    const uint16_t v = static_cast<uint16_t>(samples[i]);
    body[2 * i] = static_cast<char>(v & 0xFF), body[2 * i + 1] = static_cast<char>(v >> 8);
  }
  return WriteWhole(path, header + body);
}

bool ReadWav(const std::string &path, std::vector<int16_t> *samples) {
  std::ifstream in(path, std::ios::binary);
  const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (s.size() < 44 || s.compare(0, 4, "RIFF") || s.compare(8, 8, "WAVEfmt ") || Get(s, 20, 2) != 1 ||
      Get(s, 22, 2) != 1 || Get(s, 24, 4) != static_cast<uint32_t>(drovane::kSampleRate) || Get(s, 34, 2) != 16 ||
      s.compare(36, 4, "data"))
    return false;
  const size_t count = Get(s, 40, 4) / 2;
  if (s.size() - 44 < 2 * count) return false;  // cut short
  samples->resize(count);
  for (size_t i = 0; i < count; ++i) (*samples)[i] = static_cast<int16_t>(Get(s, 44 + 2 * i, 2));
  return true;
}

bool WriteTruth(const std::string &path, const Take &take) {
  std::string text = "strum,string,midi,cents,time_s,velocity,muted,hertz\n";
  for (size_t i = 0; i < take.score.plucks.size(); ++i) {
    const Pluck &p = take.score.plucks[i];
    char line[160];
    std::snprintf(line, sizeof line, "%d,%d,%d,%.4f,%.6f,%.4f,%d,%.6f\n", p.strum, p.string + 1, p.midi, p.cents,
                  p.time, p.velocity, p.muted ? 1 : 0, i < take.hertz.size() ? take.hertz[i] : 0.0);
    text += line;
  }
  return WriteWhole(path, text);
}

bool ReadTruth(const std::string &path, Score *score, std::vector<double> *hertz) {
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line)) return false;
  score->plucks.clear();
  hertz->clear();
  score->strings = 0;
  while (std::getline(in, line)) {
    Pluck p;
    int muted = 0;
    double h = 0;
    if (std::sscanf(line.c_str(), "%d,%d,%d,%lf,%lf,%lf,%d,%lf", &p.strum, &p.string, &p.midi, &p.cents, &p.time,
                    &p.velocity, &muted, &h) != 8)
      return false;
    --p.string;
    p.muted = muted != 0;
    score->strings = std::max(score->strings, p.string + 1);
    score->plucks.push_back(p);
    hertz->push_back(h);
  }
  return true;
}

bool WriteTake(const std::string &folder, const std::string &name, const Take &take, std::string *error) {
  const std::string base = folder + "/" + name;
  bool ok = WriteWav(base + ".wav", take.heard) && WriteTruth(base + ".truth.csv", take);
  for (size_t s = 0; ok && s < take.alone.size(); ++s)
    ok = WriteWav(base + "-alone-" + std::to_string(s + 1) + ".wav", take.alone[s]);
  if (!ok) *error = "cannot write " + base + ".*";
  return ok;
}

bool ReadTake(const std::string &folder, const std::string &name, Take *take) {
  const std::string base = folder + "/" + name;
  if (!ReadWav(base + ".wav", &take->heard) || !ReadTruth(base + ".truth.csv", &take->score, &take->hertz)) return false;
  take->score.seconds = take->heard.size() / static_cast<double>(drovane::kSampleRate);
  take->alone.assign(take->score.strings, {});
  for (int s = 0; s < take->score.strings; ++s)
    if (!ReadWav(base + "-alone-" + std::to_string(s + 1) + ".wav", &take->alone[s])) return false;
  return true;
}

}  // namespace material
