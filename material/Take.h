#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ModalString.h"
#include "Room.h"
#include "Score.h"
#include "SoundFont.h"

namespace material {

// Where a take's sound comes from: the string model (a guitar's strings or
// a bass's, the instrument varied by a seed) or a sound font's program.
struct Source {
  enum class Kind { kModel, kSoundFont };
  Kind kind = Kind::kModel;
  StringKind strings = StringKind::kGuitar;
  uint64_t seed = 1;
  std::string font;  // a SoundFonts() name
  int program = kSteelGuitar;

  // "model", "model-bass", or FONT:PROGRAM ("fluidr3:26"); the model's seed
  // is kept apart.
  std::string Name() const;
};
bool ParseSource(const std::string &text, Source *source);

// A take rendered: the sound as the tuner hears it (through the room when
// one is given), and each string alone without the room, 16-bit at the
// tuner's rate, all on one scale (the clean mix peaks at half full scale).
struct Take {
  Score score;
  std::vector<int16_t> heard;
  std::vector<std::vector<int16_t>> alone;
  std::vector<double> hertz;  // per pluck: the model's exact first partial, else 0
};

// `work`: a folder for the sound-font renderer's files.
bool MakeTake(const Source &source, const Score &score, const std::optional<RoomSettings> &room,
              const std::string &work, Take *take, std::string *error);

}  // namespace material
