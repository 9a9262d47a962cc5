#pragma once

#include "StringFit.h"

namespace Strum {

// How many partials a fit reads, each counted by how far it stands above
// the floor, full at 20 dB.
double Evidence(const StringFit &fit);

// How far a string's reading can be trusted, 0…1, from its fit: the
// evidence of its partials (how many, how far each stands above the
// floor), how well their frequencies agree with the one stiff string
// fitted to them (residuals against what each peak's height lets it be
// off), whether its lowest partials are among them (a string read from its
// sixth partial up may be another string's comb), and whether it has any
// partial that is not a multiple of another (one read only at its even
// partials is a higher string's sound seen from half its pitch).
// `resolution`: the spectrum's, in hertz. A string read `apart` (its low
// partials on a lower string's, read from those its stiffness moved off
// them, beside that string's fit) is anchored by that string's: its high
// partials are all it can show.
double FitConfidence(const StringFit &fit, double resolution, bool apart = false);

// Whether two of the fit's first partials (six, or a bass string's low
// ones) stand 20 dB above the floor and hold a quarter of its energy: one
// partial standing clear with a few faint ones far up may be another
// string's partial (an A3 on a low D's third whose fundamental the
// microphone took), and a comb whose energy lies in its 14th and 17th
// partials is other strings' peaks, not a string.
bool StandsClear(const StringFit &fit);

// Whether nearly all of a fit's energy lies at multiples of 2, or of 3, of
// its pitch: then it may be a string an octave or a twelfth above, read
// from below (a low D made of D3's partials and a faint ninth).
bool AtMultiplesOnly(const StringFit &fit);

}  // namespace Strum
