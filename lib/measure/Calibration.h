#pragma once

// The reference A that makes a played note exactly in tune: with the
// deviation d = pitch − floor(pitch + 0.5) from the nearest tempered note,
// A' = A × 2^(d ÷ 12). Used by automatic calibration and the analyser.
double CalibratedReference(double pitch, double reference);
// The same against a note's `target` (where it is in tune, as a fractional
// note: NoteTargets): d = pitch − target.
double CalibratedReference(double pitch, double reference, double target);
