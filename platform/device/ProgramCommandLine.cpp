#include "device/ProgramCommandLine.h"

#include "base/Utf8.h"
#include "gdi/Utf8.h"

namespace platform::device {

namespace {

// UTF-8 as wide text, a bad sequence as U+FFFD.
std::wstring Wide(std::string_view text) {
  std::wstring wide;
  drovane::ForEachUtf8Sequence(text, [&wide](const drovane::Utf8Sequence &s, std::string_view) {
    wide += static_cast<wchar_t>(s.code);
  });
  return wide;
}

bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }

void Quote(const std::wstring &arg, std::wstring *out) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    *out += arg;
    return;
  }
  *out += L'"';
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out->append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    *out += c;
    backslashes = 0;
  }
  out->append(2 * backslashes, L'\\');  // before the closing quote
  *out += L'"';
}

}  // namespace

std::wstring JoinCommandLine(const std::vector<std::string> &args) {
  std::wstring line;
  for (const std::string &arg : args) {
    if (!line.empty()) line += L' ';
    Quote(Wide(arg), &line);
  }
  return line;
}

std::vector<std::string> SplitCommandLine(LPCWSTR commandLine) {
  std::vector<std::string> args;
  const std::wstring line = commandLine ? commandLine : L"";
  for (size_t i = 0; i < line.size();) {
    if (Blank(line[i])) {
      ++i;
      continue;
    }
    std::wstring arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !Blank(line[i]))) {
      const wchar_t c = line[i++];
      if (c == L'"') {
        quoted = !quoted;
      } else if (c != L'\\') {
        arg += c;
      } else {
        size_t backslashes = 1;
        while (i < line.size() && line[i] == L'\\') ++backslashes, ++i;
        const bool beforeQuote = i < line.size() && line[i] == L'"';
        arg.append(beforeQuote ? backslashes / 2 : backslashes, L'\\');
        if (beforeQuote && backslashes % 2 == 1) arg += line[i++];  // an escaped quote
      }
    }
    args.push_back(Utf8(arg));
  }
  return args;
}

}  // namespace platform::device
