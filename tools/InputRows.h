#pragma once

#include <cstdio>
#include <string>

#include "AnalyzeOptions.h"

// What the analyser's outputs of rows share, one input after another: CSV
// is one table for the whole run (one header line), CSV and JSON name the
// input of every row in a first "file" field, and the table gives each
// input a heading, a blank line apart. Names are written so that they cannot
// act on a terminal (cli::Printable; JSON escapes its own way) and keep every
// row one line.
class InputRows {
 protected:
  InputRows(AnalyzeOptions::Format format, std::FILE *out) : format_(format), out_(out) {}

  // Before the rows of input `name`: keeps its field for the rows and
  // writes `csvHeader` (a whole line) before the first input's rows; true
  // in the table, whose heading is the caller's to write.
  bool BeginInput(const std::string &name, const char *csvHeader);

  AnalyzeOptions::Format format_;
  std::FILE *out_;
  std::string file_;  // the current input's name, quoted for the format

 private:
  bool begun_ = false;
};
