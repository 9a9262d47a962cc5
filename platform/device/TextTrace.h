#pragma once

// The --trace-text output: one line per change of what a source of the
// screen's texts says, "SECONDS<TAB>SOURCE<TAB>TEXT" with %.3f seconds on the
// device's clock. In the text a line break (CR LF, CR or LF) is written "\n",
// a tab "\t" and a backslash "\\"; a source that goes away says "". Program
// thread only.
#include <cstdio>
#include <map>
#include <string>

#include "kernel/Clock.h"
#include "phone/Handset.h"

namespace platform::device {

class TextTrace {
 public:
  explicit TextTrace(std::FILE *out) : out_(out) {}
  // Writes the sources whose text changed since the last look.
  void Look(Time now);

  static std::string Escape(const std::wstring &text);

 private:
  void Line(Time now, const std::string &source, const std::wstring &text);

  std::FILE *out_;
  std::map<std::string, std::wstring> shown_;
};

}  // namespace platform::device
