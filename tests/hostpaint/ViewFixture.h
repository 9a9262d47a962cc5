#pragma once

// A tuner view wired as start-up wires it, with every outgoing call recorded:
// the four timers are platform timers on the virtual clock, note-on/off and
// note reports are logged, A is a plain value. Nothing may outlive a test:
// the fixture tears the view down and counts the GDI objects left.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "general/AssertionRecord.h"
#include "general/TimerDefault_Manager.h"
#include "general/TimerNode.h"
#include "hostpaint/DrovaneView_H.h"
#include "platform/GdiTestSupport.h"

namespace viewtest {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x400000);
constexpr int kStringNotes[] = {40, 45, 50, 55, 59, 64};

// The timer service and the view's four timers as start-up builds and wires
// them, on the running phone's (virtual) clock, with every stop and start
// the view makes logged. Expiries are dispatched as the event loop dispatches them. One
// instance at a time: it keeps the timer service in its own Globals record.
class TestTimers {
 public:
  enum Which { kInTune, kZoom, kHighlightOff, kHighlightOn, kFrames, kCount };

  explicit TestTimers(UninitCaller *root);
  ~TestTimers();
  // Wires the view's timers as start-up does: T1 in tune, T2 zoom, T3
  // highlight off, T4 highlight on.
  void Wire(ViewBindings &bindings, DrovaneView_H *view);
  // Lets `ms` pass on the virtual clock, dispatching every expiry on the way.
  void Advance(long long ms);
  bool Running(Which which) const { return nodes_[which]->IsSet(); }

  // "start zoom 50 1", "stop zoom", ... in call order.
  std::vector<std::string> calls;

 private:
  struct Log {
    TestTimers *owner = nullptr;
    const char *name = "";
    void Stop(bool);
    void Start(unsigned int period, bool repeat, unsigned int);
  };

  RCPtr<Globals> globals_;
  RCPtr<TimerDefault_Manager> defaults_;
  RCPtr<TimerNode> nodes_[kCount];
  Log logs_[kCount];
};

// What the view told the rest of the program.
struct Outside {
  double reference = 440.0;
  RECT client{0, 0, 240, 270};
  std::vector<int> reported;  // noteSelected, after the view's own selection
  int repaints = 0;
  int rectRepaints = 0;  // repaintRect: a part of the window
  int gaugeTaps = 0;
  std::vector<std::string> notes;  // "on 45 127", "off 45"

  void Report(int note) { reported.push_back(note); }
  void Repaint() { ++repaints; }
  void RepaintRect(const RECT &) { ++rectRepaints; }
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
  static DrovaneView_H::DisplayOptions Off() { return {false, false, false, false}; }
  // Forgets the calls recorded so far.
  void ClearLog();

  platform::Phone phone_{platform::ClockKind::Virtual};
  std::unique_ptr<UninitCaller> root_;
  TestTimers timers_;
  std::size_t gdiBefore_;
  RCPtr<DrovaneView_H> view_;
  Outside outside_;
  ScopedAssertionRecord record_;
};

}  // namespace viewtest
