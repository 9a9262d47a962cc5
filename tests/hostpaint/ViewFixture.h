#pragma once

// A tuner view wired as start-up wires it, with every outgoing call recorded:
// the four timers are platform timers on the virtual clock, note-on/off and
// note reports are logged, A is a plain value. Nothing may outlive a test:
// the fixture tears the view down and counts the GDI objects left.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "general/AssertionRecord.h"
#include "hostpaint/DrovaneView_H.h"
#include "platform/GdiTestSupport.h"
#include "win/user.h"

namespace viewtest {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x400000);
constexpr int kStringNotes[] = {40, 45, 50, 55, 59, 64};

// The view's four timers as platform timers (SetTimer without a window) on
// the virtual clock, dispatched as the loop dispatches them. A timer behaves
// as a TimerNode does: Start replaces a running timer, a one-shot timer is
// killed before its handler runs, so the handler may start it again. One
// instance at a time.
class TestTimers {
 public:
  enum Which { kInTune, kZoom, kHighlightOff, kHighlightOn, kCount };

  TestTimers();
  ~TestTimers();
  void Wire(ViewBindings &bindings, DrovaneView_H *view);
  // Lets `ms` pass on the virtual clock, dispatching every expiry on the way.
  void Advance(long long ms);
  bool Running(Which which) const { return timers_[which].id != 0; }

  // "start zoom 50 1", "stop zoom", ... in call order.
  std::vector<std::string> calls;

 private:
  struct Timer {
    TestTimers *owner = nullptr;
    const char *name = "";
    UINT_PTR id = 0;
    bool repeat = false;
    Delegate<void()> handler;
    void Stop(bool);
    void Start(unsigned int period, bool repeat, unsigned int);
  };
  static void CALLBACK Expired(HWND, UINT, UINT_PTR id, DWORD);

  Timer timers_[kCount];
  static TestTimers *current_;
};

// What the view told the rest of the program.
struct Outside {
  double reference = 440.0;
  RECT client{0, 0, 240, 270};
  std::vector<int> reported;  // noteSelected, after the view's own selection
  int repaints = 0;
  int gaugeTaps = 0;
  std::vector<std::string> notes;  // "on 45 127", "off 45"

  void Report(int note) { reported.push_back(note); }
  void Repaint() { ++repaints; }
  void GaugeTap() { ++gaugeTaps; }
  void SetReference(double hz) { reference = hz; }
  double GetReference() { return reference; }
  void GetClientRect(RECT *rect) { *rect = client; }
  void NoteOn(int note, int velocity) {
    notes.push_back("on " + std::to_string(note) + " " + std::to_string(velocity));
  }
  void NoteOff(int note) { notes.push_back("off " + std::to_string(note)); }
};

class ViewTest : public ::testing::Test {
 protected:
  ViewTest();
  ~ViewTest() override;

  // Start-up's set-up: bindings, the six strings with G selected, and the
  // display options given (all off unless a test says otherwise).
  void WireAsStartUp(const DrovaneView_H::DisplayOptions &options = Off());
  static DrovaneView_H::DisplayOptions Off() { return {0, 0, 0, 0}; }
  // Forgets the calls recorded so far.
  void ClearLog();

  std::unique_ptr<UninitCaller> root_;
  std::size_t gdiBefore_;
  RCPtr<DrovaneView_H> view_;
  Outside outside_;
  TestTimers timers_;
  ScopedAssertionRecord record_;
};

}  // namespace viewtest
