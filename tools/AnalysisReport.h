#pragma once

#include <string>

#include "AnalysisSummary.h"
#include "AnalyzeOptions.h"

// The lines the analyser prints after the results of an input. Like the
// results, they go to stdout, except with CSV, where they go to stderr so
// that stdout stays one table. Each returns false when its report could not
// be written to stderr; what goes to stdout is checked when stdout is closed.

// The first stable note and the reference calibration would set from it.
bool ReportCalibration(AnalyzeOptions::Format format, const std::string &input, const AnalysisSummary &s,
                       const Measure::NoteTargets &targets);
// After live input: how many results, how much sound heard and how long the
// device was away, the last note heard, the overruns.
bool ReportLiveSummary(AnalyzeOptions::Format format, const AnalysisSummary &s, const Measure::NoteTargets &targets);
