#include "device/TextTrace.h"

#include <cstdio>
#include <set>

#include "base/StandardOutput.h"
#include "gdi/Utf8.h"

namespace platform::device {

bool TextTrace::Look(Time now) {
  std::set<std::string> present;
  for (const auto &[source, text] : handset::ScreenTexts()) {
    present.insert(source);
    auto it = shown_.find(source);
    const bool changed = it == shown_.end() ? !text.empty() : it->second != text;
    if (changed) Line(now, source, text);
    shown_[source] = text;
  }
  for (auto it = shown_.begin(); it != shown_.end();) {
    if (present.count(it->first)) {
      ++it;
      continue;
    }
    if (!it->second.empty()) Line(now, it->first, L"");
    it = shown_.erase(it);
  }
  return drovane::FlushStandardOutput();
}

void TextTrace::Line(Time now, const std::string &source, const std::wstring &text) {
  const double seconds = std::chrono::duration<double>(now).count();
  std::printf("%.3f\t%s\t%s\n", seconds, source.c_str(), Escape(text).c_str());
}

std::string TextTrace::Escape(const std::wstring &text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L"\\n";
    } else if (c == L'\t') {
      out += L"\\t";
    } else if (c == L'\\') {
      out += L"\\\\";
    } else {
      out += c;
    }
  }
  return Utf8(out);
}

}  // namespace platform::device
