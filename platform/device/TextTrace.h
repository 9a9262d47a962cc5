#pragma once

// The --trace-text output on stdout: one line per change of what a source
// of the screen's texts says, "SECONDS<TAB>SOURCE<TAB>TEXT" with %.3f seconds
// on the device's clock. In the text a line break (CR LF, CR or LF) is
// written "\n", a tab "\t" and a backslash "\\"; a source that goes away
// says "". Program thread only.
#include <map>
#include <string>

#include "kernel/Clock.h"
#include "phone/Handset.h"

namespace platform::device {

class TextTrace {
 public:
  // Writes the sources whose text changed since the last look; false once
  // anything written was lost (drovane::FlushStandardOutput keeps why).
  bool Look(Time now);

  static std::string Escape(const std::wstring &text);

 private:
  void Line(Time now, const std::string &source, const std::wstring &text);

  std::map<std::string, std::wstring> shown_;
};

}  // namespace platform::device
