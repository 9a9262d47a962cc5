#pragma once

#include <string>
#include <vector>

#include "Take.h"

// The material the accuracy report reads: for each material, strum kind,
// tuning and (sound fonts) program, a take of strums in tune and one
// detuned, rendered once into a cache folder. The part the analyser is
// tuned on and the part kept aside to report on never share a source:
// the held-out part is the timgm6mb sound font, the string model's seeds
// from 100000 on, and the held-out room.
struct Cell {
  std::string material;  // "model", "fluidr3", "musescore", "timgm6mb"
  std::string kind;      // a strum kind, or "seq0.3", "seq1", "seq2": down-strums that far apart
  std::string tuning;
  bool detuned = false;
  bool instrument = false;  // a bass, a seven-string or a ukulele, not the guitar's six strings
  material::Source source;
  material::Score score;

  std::string Name() const;  // the cache's file name, without extension
};

enum class Part { kTuning, kHeldOut };

// Every cell of a part, `strums` strums a take: the guitar's, then the
// other instruments' (whose seeds follow, so the guitar's cells stay as
// they were).
std::vector<Cell> MakeCells(Part part, int strums);

// The cell's take from the cache, rendered and kept there first when it is
// missing; false with *error when it cannot be had.
bool TakeOf(const std::string &cache, const Cell &cell, material::Take *take, std::string *error);
