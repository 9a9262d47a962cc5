#pragma once

#include <string>

#include "base/CommandLine.h"
#include "measure/NoteTargets.h"
#include "measure/ScalaScale.h"
#include "measure/Tuning.h"

// --tuning, --temperament and --temperament-root, alike in the tuner and the
// tools: what the strings are and where every note is in tune. Without them,
// the phone's standard tuning in equal temperament.
struct TuningOptions {
  Measure::Tuning strings;
  Measure::ScalaScale scale;  // equal temperament unless --temperament names another
  int root = 0;               // its root's pitch class, C
  bool tuned = false;         // --tuning was given
  bool tempered = false;      // --temperament or --temperament-root was given

  TuningOptions();

  // Adds the three options to `line`; the values land here.
  void AddTo(cli::CommandLine *line);
  Measure::NoteTargets Targets() const;
};

// The tools' --help lines of the three options: their common start, then
// `strings` (what the tuning's strings are for) after "--tuning ...:", and
// `temperament` after "--temperament ...:", each wrapped to the tools'
// 19-column indent and ending in a newline.
std::string TuningOptionsHelp(const std::string &strings, const std::string &temperament);

// The paragraph after the options in --help: the tunings and temperaments
// by name, and how one's own is written.
std::string TuningOptionsEpilogue();
