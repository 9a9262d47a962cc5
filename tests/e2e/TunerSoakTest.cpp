// An hour of random use on the virtual clock: keys, menu choices, the About
// box and taps from a fixed seed, over the demo recording played in a loop.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

#include "InProcessTuner.h"
#include "app/Globals.h"
#include "gdi/GdiHost.h"
#include "general/AssertionRecord.h"
#include "measure/TestSignals.h"
#include "phone/Handset.h"
#include "wave/DemoRecording.h"
#include "win/shell.h"

namespace {

using namespace tuner;

constexpr double kMinutes = 60;

class LoopedDemo : public platform::wave::CaptureStream {
 public:
  void Read(int16_t *out, size_t count) override {
    for (size_t done = 0; done < count;) {
      const size_t n = demo_.Read(out + done, count - done);
      if (n == 0) demo_ = DemoRecording();
      done += n;
    }
  }

 private:
  DemoRecording demo_;
};

// One random action of a player at `t`; returns when the next may come.
double ScheduleAction(InProcessTuner &tuner, signals::Random &random, double t) {
  static const UINT kKeys[] = {'1', '2', '3', '4', '5', '6', VK_UP, VK_DOWN, VK_TBACK, VK_LEFT, VK_RETURN};
  switch (random.Next() % 4) {
    case 0:
      tuner.Key(t, kKeys[random.Next() % std::size(kKeys)]);
      return t + 0.2 + random.Unit();
    case 1:  // a menu choice, About included, or the menu closed again
      tuner.Key(t, VK_TSOFT2);
      tuner.Key(t + 0.3, random.Next() % 3 ? '1' + random.Next() % 8 : VK_TBACK);
      tuner.Key(t + 1.3, VK_RETURN);  // closes the About box if it opened
      return t + 1.5 + random.Unit();
    case 2: {  // a tap anywhere in the tuner's window
      const int x = static_cast<int>(random.Next() % platform::kScreenWidth);
      const int client = platform::kSoftKeyTop - platform::kCaptionHeight;  // the window's height
      const int y = platform::kCaptionHeight + static_cast<int>(random.Next() % client);
      tuner.Tap(t, x, y);
      return t + 0.1 + random.Unit();
    }
    default:
      return t + 2 * random.Unit();
  }
}

// The frequency text the view shows for its last reading at `reference`.
std::wstring ShownReading(double reference) {
  DrovaneView_H &view = *Globals::current->view;
  const double hertz = view.Pitch() == 0 ? 0 : reference * std::pow(2.0, (view.Pitch() - 69) / 12);
  wchar_t text[32];
  std::swprintf(text, 32, L"%.2f Hz", hertz);
  return text;
}

TEST(TunerSoak, AnHourOfRandomUseLeavesNoTrace) {
  InProcessTuner tuner(CustomCapture<LoopedDemo>());
  signals::Random random(2024);
  for (double t = 1.0; t < kMinutes * 60 - 5;) t = ScheduleAction(tuner, random, t);

  ScopedAssertionRecord record;
  std::vector<std::string> checks;
  size_t gdiBaseline = 0, gdiMismatches = 0, idles = 0;
  size_t heapEarly = 0, heapLate = 0, menuIdles = 0, boxIdles = 0, staleIdles = 0, judgedIdles = 0;
  tuner.OnIdle([&] {
    if (!Globals::current || !Globals::current->view) return;
    if (record.Raised()) checks.push_back(std::string(record->function) + " (" + record->file + ")");
    record.Clear();
    // Judged where a capture buffer has just been handled (every 100 ms), so
    // Up and Down, which change A without a repaint, have had their reading
    // since; not inside the menu's or the box's own loop, which may open
    // with a paint still to come (input is handled before painting).
    const double reference = Globals::current->view->Bindings().getReference();
    bool judged = platform::Now().count() % 100000000 == 0;
    const std::vector<platform::handset::ScreenText> texts = platform::handset::ScreenTexts();
    for (const platform::handset::ScreenText &t : texts) {
      const bool open = (t.source == "menu" || t.source == "message") && !t.text.empty();
      menuIdles += open && t.source == "menu";
      boxIdles += open && t.source == "message";
      judged &= !open;
    }
    judgedIdles += judged;
    for (const platform::handset::ScreenText &t : texts)
      staleIdles += judged && t.source == "Drovane" && t.text.find(ShownReading(reference)) == std::wstring::npos;
    const size_t live = GdiLiveObjectCount();
    if (idles++ == 0) gdiBaseline = live;
    gdiMismatches += live != gdiBaseline;
    const double now = std::chrono::duration<double>(platform::Now()).count();
    const size_t heap = mallinfo2().uordblks;
    if (now < 300) heapEarly = heap;
    heapLate = heap;
  });
  EXPECT_EQ(tuner.Run(kMinutes * 60), 0);
  EXPECT_TRUE(checks.empty()) << checks.size() << " checks, the first: " << checks.front();
  EXPECT_GT(idles, 1000u);
  EXPECT_GT(menuIdles, 10u);
  EXPECT_GT(boxIdles, 10u);
  // Each time the loop was about to wait after a capture buffer, the screen
  // showed the last reading: a result is painted before the loop waits.
  EXPECT_EQ(staleIdles, 0u);
  EXPECT_GT(judgedIdles, static_cast<size_t>(kMinutes * 60 * 5)) << "at most half the buffers went unjudged";
  EXPECT_EQ(gdiMismatches, 0u) << "drawing objects alive between paints changed";
  // Flat: the heap in use late in the run is what it was after five minutes
  // (the sanitizers' allocator reports nothing here).
  EXPECT_LT(heapLate, heapEarly + 256 * 1024) << heapEarly << " -> " << heapLate;
}

}  // namespace
