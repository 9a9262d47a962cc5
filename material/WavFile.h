#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Take.h"

namespace material {

// 16-bit mono WAV files at the tuner's rate, as the material is kept.
bool WriteWav(const std::string &path, const std::vector<int16_t> &samples);
// Reads one such file (and no other kind); false when it is not one or
// holds less than its header says.
bool ReadWav(const std::string &path, std::vector<int16_t> *samples);

// The take's truth, one line per pluck:
//   strum,string,midi,cents,time_s,velocity,muted,hertz
// strings counted from 1; hertz is the model's exact settled first
// partial, or 0 where the source does not know it (a sound font).
bool WriteTruth(const std::string &path, const Take &take);
bool ReadTruth(const std::string &path, Score *score, std::vector<double> *hertz);

// Writes NAME.wav (what the tuner hears), NAME-alone-S.wav for each string
// S (from 1) and NAME.truth.csv into `folder`.
bool WriteTake(const std::string &folder, const std::string &name, const Take &take, std::string *error);
// Reads them back; the score's length comes from NAME.wav.
bool ReadTake(const std::string &folder, const std::string &name, Take *take);

}  // namespace material
