#include "InputRows.h"

#include "FieldText.h"

bool InputRows::BeginInput(const std::string &name, const char *csvHeader) {
  const bool first = !begun_;
  begun_ = true;
  switch (format_) {
    case AnalyzeOptions::Format::kCsv:
      file_ = CsvField(name);
      if (first) std::fputs(csvHeader, out_);
      return false;
    case AnalyzeOptions::Format::kJson:
      file_ = JsonString(name);
      return false;
    case AnalyzeOptions::Format::kTable:
      if (!first) std::fputc('\n', out_);
      return true;
  }
  return false;
}
