#include "AnalyzeOptions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

const char kAnalyzeUsage[] =
    "Usage: drovane-analyze [OPTION]... FILE...\n"
    "  or:  drovane-analyze [OPTION]... --demo\n"
    "  or:  drovane-analyze [OPTION]... --live\n"
    "Measure the pitch of recordings the way the Drovane tuner does: one\n"
    "result per 1000 samples (22050 Hz), smoothed over the last 0.68 s.\n"
    "Any format libsndfile reads; channels are mixed to mono and other rates\n"
    "converted to 22050 Hz. A FILE of - is standard input; pipes and FIFOs\n"
    "are read as they come.\n"
    "\n"
    "  --csv            comma-separated values, one table for all inputs:\n"
    "                   file,time_s,level,note,frequency_hz,name,cents\n"
    "  --json           one JSON object per result, its input named first:\n"
    "                   {\"file\":…,\"time_s\":…,…}\n"
    "  --reference HZ   reference A in hertz (default 440)\n"
    "  --precise        readings within a fraction of a cent: refines each period\n"
    "                   by a method that departs from the phone's estimator (the\n"
    "                   notes found, gates and smoothing stay the same); without\n"
    "                   it the results are exactly the phone's\n"
    "  --calibrate      also report the first stable note and the reference A\n"
    "                   that automatic calibration would set from it (on stdout,\n"
    "                   or stderr with --csv)\n"
    "  --demo           analyse the built-in demo recording\n"
    "  --live           analyse the microphone as you play, printing each result\n"
    "                   as it comes, until Ctrl-C; then a summary line (on\n"
    "                   stdout, or stderr with --csv) that also counts the\n"
    "                   overruns: sound lost because it was not taken in time\n"
    "  -h, --help       show this help and exit\n"
    "  -V, --version    show the version and exit\n"
    "\n"
    "Notes are MIDI numbers (69 = A); 0 means no pitch was heard. Note names\n"
    "are the tuner's own: octaves are labelled ... -2, -1, 1, 2 ... with no\n"
    "octave 0, so the low E string is E-2, middle C is C1 and the A of 440 Hz\n"
    "is A1 (E2, C4 and A4 in scientific pitch notation). The table shows both,\n"
    "as \"E-2 (E2)\"; the name field of CSV and JSON holds the tuner's own.\n"
    "The file field of CSV and JSON is the input as named on the command line\n"
    "(demo, or live).\n"
    "Exit status: 0 success, 1 a file could not be analysed, the results could\n"
    "not be written (or no audio capture device was found), 2 usage error.\n";

namespace {

bool ParseReference(const char *text, double *hertz, std::string *error) {
  char *end = nullptr;
  const double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(v) || v < 1 || v > 20000) {
    *error = std::string("invalid reference frequency '") + text + "' (expected hertz between 1 and 20000)";
    return false;
  }
  *hertz = v;
  return true;
}

}  // namespace

bool AnalyzeOptions::SetFormat(Format chosen, std::string *error) {
  if (format != Format::kTable && format != chosen) {
    *error = "--csv and --json cannot be combined";
    return false;
  }
  format = chosen;
  return true;
}

bool AnalyzeOptions::Parse(int argc, const char *const *argv, std::string *error) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char *a = argv[i];
    if (optionsEnded || a[0] != '-' || std::strcmp(a, "-") == 0) {
      files.emplace_back(a);
    } else if (std::strcmp(a, "--") == 0) {
      optionsEnded = true;
    } else if (std::strcmp(a, "--csv") == 0) {
      if (!SetFormat(Format::kCsv, error)) return false;
    } else if (std::strcmp(a, "--json") == 0) {
      if (!SetFormat(Format::kJson, error)) return false;
    } else if (std::strcmp(a, "--calibrate") == 0) {
      calibrate = true;
    } else if (std::strcmp(a, "--precise") == 0) {
      precise = true;
    } else if (std::strcmp(a, "--demo") == 0) {
      demo = true;
    } else if (std::strcmp(a, "--live") == 0) {
      live = true;
    } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
      help = true;
    } else if (std::strcmp(a, "--version") == 0 || std::strcmp(a, "-V") == 0) {
      version = true;
    } else if (std::strncmp(a, "--reference=", 12) == 0) {
      if (!ParseReference(a + 12, &reference, error)) return false;
    } else if (std::strcmp(a, "--reference") == 0) {
      if (i + 1 == argc) {
        *error = "option '--reference' needs a value in hertz";
        return false;
      }
      if (!ParseReference(argv[++i], &reference, error)) return false;
    } else {
      *error = std::string("unknown option '") + a + "'";
      return false;
    }
  }
  if (help || version) return true;
  if (live && (demo || !files.empty())) {
    *error = "--live cannot be combined with --demo or files";
    return false;
  }
  if (files.empty() && !demo && !live) {
    *error = "no input: name a sound file or use --demo or --live";
    return false;
  }
  return true;
}
