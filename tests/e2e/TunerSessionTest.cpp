// The tuner's start-up run in this process on the virtual clock: the About
// box, the ways to end, the reference keys, the Back key and start-up failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InProcessTuner.h"
#include "app/BackKeyHook.h"
#include "app/Globals.h"
#include "gdi/GdiHost.h"
#include "general/AssertionRecord.h"
#include "general/CheckRecord.h"
#include "measure/TestSignals.h"
#include "phone/Handset.h"
#include "win/shell.h"

namespace {

using namespace tuner;

std::wstring ScreenText(const std::string &source) {
  for (const platform::handset::ScreenText &t : platform::handset::ScreenTexts())
    if (t.source == source) return t.text;
  return L"";
}

double ViewPitch() { return Globals::current->view->Pitch(); }

// A steady tone that steps from `first` to `second` Hz at `switchAt`
// seconds, and counts the samples that no capture buffer was there for.
class SteppedTone : public platform::wave::CaptureStream {
 public:
  SteppedTone(double first, double second, double switchAt, size_t *lost)
      : first_(first), second_(second), switchAt_(static_cast<size_t>(switchAt * 22050)), lost_(lost) {}
  void Read(int16_t *out, size_t count) override {
    for (size_t i = 0; i < count; ++i, ++index_) {
      const double hz = index_ < switchAt_ ? first_ : second_;
      out[i] = static_cast<int16_t>(12000 * std::sin(2 * signals::kPi * hz * index_ / 22050.0));
    }
  }
  void Skip(size_t count) override {
    *lost_ += count;
    index_ += count;
  }

 private:
  double first_, second_;
  size_t switchAt_;
  size_t *lost_;
  size_t index_ = 0;
};

TEST(TunerSession, AboutBoxHoldsTheResultsUntilOkAndLosesNoCapture) {
  size_t lost = 0;
  InProcessTuner tuner(CustomCapture<SteppedTone>(signals::Hertz(55), signals::Hertz(57), 3.0, &lost));
  std::wstring shown;
  double pitchWhileOpen = -1;
  bool changedWhileOpen = false;
  tuner.OnIdle([&] {
    if (!Globals::current || !Globals::current->view) return;
    if (ScreenText("message").empty()) return;
    if (shown.empty()) pitchWhileOpen = ViewPitch();
    shown = ScreenText("message");
    changedWhileOpen |= ViewPitch() != pitchWhileOpen;
  });
  double pitchAfter = 0;
  tuner.Key(2.0, VK_TSOFT2);
  tuner.Key(2.2, '8');  // About, the menu's eighth item
  tuner.Key(3.9, VK_RETURN);
  tuner.At(5.5, [&] { pitchAfter = ViewPitch(); });
  EXPECT_EQ(tuner.Run(6.0), 0);

  EXPECT_NE(shown.find(L"Quorla Drovane\r\nversion: 1.0.0.0\r\nsite: drovane.quorla.org"), std::wstring::npos)
      << std::string(shown.begin(), shown.end());
  EXPECT_EQ(shown.find(L"http://"), std::wstring::npos);
  EXPECT_NEAR(pitchWhileOpen, 55, 0.05);
  EXPECT_FALSE(changedWhileOpen) << "a result reached the view behind the box";
  EXPECT_NEAR(pitchAfter, 57, 0.05) << "the tuner went on after OK";
  EXPECT_EQ(lost, 0u) << "samples were captured with no buffer queued";
}

// The Close soft key ends the loop, then shut-down destroys the window; the
// caption's OK destroys it at once; a desktop's close request goes through
// WM_CLOSE. Each ends at once with status 0 and everything taken down.
TEST(TunerSession, EachWayToEndTearsDownAndExitsZero) {
  const std::function<void(InProcessTuner &)> ways[] = {
      [](InProcessTuner &t) { t.Key(1.0, VK_TSOFT1); },
      [](InProcessTuner &t) { t.Tap(1.0, platform::kScreenWidth - 20, 12); },
      [](InProcessTuner &t) { t.At(1.0, [] { platform::handset::RequestClose(); }); },
  };
  for (const auto &end : ways) {
    InProcessTuner tuner(ToneCapture(196));
    const size_t gdiBefore = GdiLiveObjectCount();
    end(tuner);
    EXPECT_EQ(tuner.Run(5.0), 0);
    EXPECT_LT(std::chrono::duration<double>(platform::Now()).count(), 1.1);
    EXPECT_EQ(Globals::current, nullptr);
    EXPECT_EQ(GdiLiveObjectCount(), gdiBefore) << "drawing objects left behind";
  }
}

// Up and Down first bring A to one decimal place, then step by 0.1 Hz.
TEST(TunerSession, ReferenceKeysStepFromTheNearestTenth) {
  InProcessTuner tuner(ToneCapture(0));
  const auto reference = [] { return Globals::current->view->Bindings().getReference(); };
  const auto set = [](double hz) { Globals::current->view->Bindings().setReference(hz); };
  std::vector<double> seen;
  tuner.At(1.0, [&] { set(440.04); });
  tuner.Key(1.1, VK_UP);
  tuner.At(1.2, [&] { seen.push_back(reference()); set(440.05); });
  tuner.Key(1.3, VK_UP);
  tuner.At(1.4, [&] { seen.push_back(reference()); set(440.06); });
  tuner.Key(1.5, VK_DOWN);
  tuner.At(1.6, [&] { seen.push_back(reference()); });
  EXPECT_EQ(tuner.Run(2.0), 0);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_NEAR(seen[0], 440.1, 1e-9);
  EXPECT_NEAR(seen[1], 440.2, 1e-9);
  EXPECT_NEAR(seen[2], 440.0, 1e-9);
}

// One record of the main objects: a second one is refused with its check.
TEST(TunerSession, ASecondGlobalsLeavesTheFirstCurrent) {
  ScopedAssertionRecord record;
  RCPtr<Globals> first = MakeRC<Globals>(InProcessTuner::kModule);
  {
    RCPtr<Globals> second = MakeRC<Globals>(InProcessTuner::kModule);
    EXPECT_EQ(Globals::current, first.get());
    ASSERT_TRUE(record.Raised());
    EXPECT_EQ(LastCheck(record), Text(CheckSites::kSecondGlobals));
  }
  EXPECT_EQ(Globals::current, first.get());
  first.Reset();
  EXPECT_EQ(Globals::current, nullptr);
}

// A window of the test's own that logs the keys it is sent.
std::vector<std::string> *keyLog = nullptr;
LRESULT CALLBACK LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_KEYUP || message == WM_HOTKEY) {
    char line[64];
    std::snprintf(line, sizeof line, "%x %llx %llx", message, static_cast<unsigned long long>(wParam),
                  static_cast<unsigned long long>(lParam));
    keyLog->push_back(line);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(TunerSession, BackKeyBecomesABackspaceForTheFocusWindow) {
  InProcessTuner tuner(ToneCapture(0));
  std::vector<std::string> log;
  keyLog = &log;
  WNDCLASSW wc{};
  wc.lpfnWndProc = &LoggingProc;
  wc.hInstance = InProcessTuner::kModule;
  wc.lpszClassName = L"logging";
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND window = CreateWindowExW(0, L"logging", L"log", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, InProcessTuner::kModule, nullptr);
  ASSERT_NE(window, nullptr);
  SetFocus(window);
  auto hook = [](LPARAM lParam) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_HOTKEY;
    msg.lParam = lParam;
    bool handled = false;
    BackKeyHook(msg, &handled);
    EXPECT_TRUE(handled);
    for (MSG posted; PeekMessageW(&posted, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&posted);
  };
  hook(VK_TBACK << 16);
  hook((VK_TBACK << 16) | MOD_KEYUP);
  hook(0x42 << 16);  // any other hot key goes through unchanged
  // The key-down's translation posts a second character, as a real key does.
  EXPECT_EQ(log, (std::vector<std::string>{"100 8 690001", "102 8 690001", "102 8 690001", "101 8 c0690001",
                                           "312 0 420000"}));
  DestroyWindow(window);
  keyLog = nullptr;
}

struct Failure {
  const char *call;
  uintptr_t result;
  int status;
  const char *said;
};

TEST(TunerSession, StartUpFailuresEndCleanlyOrGoOnWithoutTheDevice) {
  const Failure failures[] = {
      {"RegisterClassW", 0, 1, "drovane: the main window's class could not be registered\n"},
      {"CreateWindowExW", 0, 1, "drovane: the main window could not be created\n"},
      {"waveInOpen", MMSYSERR_ALLOCATED, 0, "capture device tone:196 could not be opened"},
      {"waveOutOpen", MMSYSERR_ALLOCATED, 0, "playback device null could not be opened"},
  };
  for (const Failure &f : failures) {
    SCOPED_TRACE(f.call);
    {
      InProcessTuner tuner(ToneCapture(196));
      const size_t gdiBefore = GdiLiveObjectCount();
      platform::wave::ReportOpenFailures(true);
      platform::FailCall(f.call, 1, f.result);
      tuner.Key(1.0, '1');
      double pitch = -1;
      tuner.At(2.0, [&] { pitch = ViewPitch(); });
      testing::internal::CaptureStderr();
      EXPECT_EQ(tuner.Run(3.0), f.status);
      const std::string err = testing::internal::GetCapturedStderr();
      platform::wave::ReportOpenFailures(false);
      EXPECT_NE(err.find(f.said), std::string::npos) << err;
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
      if (f.status == 0) {
        EXPECT_EQ(pitch == 0, std::string(f.call) == "waveInOpen") << pitch;
      }
      EXPECT_EQ(GdiLiveObjectCount(), gdiBefore) << "drawing objects left behind";
    }
    EXPECT_EQ(Globals::current, nullptr);
  }
}

}  // namespace
