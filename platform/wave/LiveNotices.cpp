#include "wave/LiveNotices.h"

#include <errno.h>

#include <cstdio>

namespace platform::wave {

namespace {

int Index(Direction d) { return d == Direction::Capture ? 0 : 1; }
const char *What(Direction d) { return d == Direction::Capture ? "audio capture device" : "audio output device"; }

}  // namespace

void LiveNotices::ShowWith(std::function<void(const std::wstring &)> show) {
  show_ = std::move(show);
  Show();
}

void LiveNotices::Away(Direction d, const std::string &device, const std::string &why, bool atStart) {
  const char *meanwhile = d == Direction::Capture ? "listening to silence" : "playing to nothing";
  if (atStart)
    std::fprintf(stderr, "%s: %s; %s until it is there\n", program_invocation_short_name, why.c_str(), meanwhile);
  else
    std::fprintf(stderr, "%s: lost the %s %s (%s); %s until it is back\n", program_invocation_short_name, What(d),
                 device.c_str(), why.c_str(), meanwhile);
  away_[Index(d)] = true;
  never_[Index(d)] = atStart;
  Show();
}

void LiveNotices::Back(Direction d, const std::string &device) {
  std::fprintf(stderr, "%s: the %s %s is %s\n", program_invocation_short_name, What(d), device.c_str(),
               never_[Index(d)] ? "there" : "back");
  away_[Index(d)] = false;
  Show();
}

std::wstring LiveNotices::Text() const {
  if (away_[0] && away_[1]) return L"No sound device";
  if (away_[0]) return L"No microphone";
  return away_[1] ? L"No speaker" : L"";
}

void LiveNotices::Show() {
  if (show_) show_(Text());
}

}  // namespace platform::wave
