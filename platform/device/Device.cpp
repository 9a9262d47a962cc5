#include "device/Device.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "device/DeviceSetup.h"
#include "device/ProgramSettings.h"
#include "device/TextTrace.h"
#include "device/WindowPresenter.h"
#include "gdi/GdiHost.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"
#include "phone/Phone.h"
#include "wave/WaveDevices.h"

namespace platform::device {

namespace {

// The program's module instance, under which it registers its resources.
const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);
// How long a program may take to end after being asked to quit.
constexpr double kQuitGrace = 5;

std::string program = "drovane";

int Fail(const std::string &message, int status) {
  std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
  if (status == 2) std::fprintf(stderr, "Try '%s --help' for more information.\n", program.c_str());
  return status;
}

Time Seconds(double s) { return std::chrono::duration_cast<Time>(std::chrono::duration<double>(s)); }

int ListDevices() {
  Phone phone(ClockKind::Real);
  std::string error;
  for (bool capture : {true, false}) {
    const std::vector<std::string> names = wave::ListLiveDevices(capture, &error);
    if (names.empty() && !error.empty()) return Fail(error, 1);
    for (const std::string &name : names) std::printf("%s\t%s\n", capture ? "capture" : "playback", name.c_str());
  }
  return 0;
}

bool ReadScript(const std::string &path, std::vector<ScriptAction> *actions, int *status, std::string *error) {
  std::ifstream file(path);
  if (!file) {
    *status = 1;
    *error = "cannot read script '" + path + "'";
    return false;
  }
  std::stringstream text;
  text << file.rdbuf();  // an empty file is a script with no actions
  *status = 2;
  if (ParseScript(text.str(), actions, error)) return true;
  *error = path + ": " + *error;
  return false;
}

// What runs while the program does: the window, the script's screenshots,
// the text trace, and the end.
class Session {
 public:
  Session(const DeviceOptions &o, std::unique_ptr<WindowPresenter> presenter)
      : options_(o), presenter_(std::move(presenter)) {
    if (o.traceText) trace_ = std::make_unique<TextTrace>(stdout);
  }

  void Schedule(const std::vector<ScriptAction> &script, std::optional<double> duration);
  void Idle();
  // After WinMain: the last trace lines and screenshots; false if one failed.
  bool Finish();

 private:
  void Act(const ScriptAction &a);
  void Quit();
  void TakeScreenshots();
  void TakeExitScreenshot();

  const DeviceOptions &options_;
  std::unique_ptr<WindowPresenter> presenter_;
  std::unique_ptr<TextTrace> trace_;
  std::vector<std::string> pendingShots_;
  bool failed_ = false;
  bool quitting_ = false;
  bool exitShotTaken_ = false;
};

void Session::Schedule(const std::vector<ScriptAction> &script, std::optional<double> duration) {
  for (const ScriptAction &a : script) platform::ScheduleAt(Seconds(a.seconds), [this, a] { Act(a); });
  if (duration) platform::ScheduleAt(Seconds(*duration), [this] { Quit(); });
}

void Session::Act(const ScriptAction &a) {
  using K = ScriptAction::Kind;
  switch (a.kind) {
    case K::Key: handset::KeyDown(a.key); handset::KeyUp(a.key); break;
    case K::KeyDown: handset::KeyDown(a.key); break;
    case K::KeyUp: handset::KeyUp(a.key); break;
    case K::Tap: handset::StylusDown(a.x, a.y); handset::StylusUp(a.x, a.y); break;
    case K::Press: handset::StylusDown(a.x, a.y); break;
    case K::Release: handset::StylusUp(a.x, a.y); break;
    case K::Screenshot: pendingShots_.push_back(a.file); break;
    case K::Quit: Quit(); break;
  }
}

// As a desktop user closing the window; a program that does not end within
// the grace time is ended by the device, so a run never hangs.
void Session::Quit() {
  if (quitting_) return;
  quitting_ = true;
  TakeExitScreenshot();  // the screen as last shown, before the program closes its window
  handset::RequestClose();
  platform::ScheduleAt(platform::Now() + Seconds(kQuitGrace), [] {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: the program did not end within %g s of quitting; stopping it\n", program.c_str(),
                 kQuitGrace);
    std::_Exit(1);
  });
}

void Session::TakeScreenshots() {
  for (const std::string &path : pendingShots_) {
    if (GdiWritePng(handset::ScreenBitmap(), path.c_str())) continue;
    std::fprintf(stderr, "%s: cannot write screenshot '%s'\n", program.c_str(), path.c_str());
    failed_ = true;
  }
  pendingShots_.clear();
}

void Session::TakeExitScreenshot() {
  if (options_.screenshot.empty() || exitShotTaken_) return;
  exitShotTaken_ = true;
  pendingShots_.push_back(options_.screenshot);
  TakeScreenshots();
}

void Session::Idle() {
  if (presenter_) presenter_->Present();
  TakeScreenshots();
  if (trace_) trace_->Look(platform::Now());
}

bool Session::Finish() {
  platform::SetIdleHook(nullptr);
  Idle();
  TakeExitScreenshot();
  if (presenter_ && std::getenv("DROVANE_PRESENTER_STATS"))
    std::fprintf(stderr, "%s: presenter: %llu frames shown, %llu unchanged\n", program.c_str(),
                 static_cast<unsigned long long>(presenter_->FramesShown()),
                 static_cast<unsigned long long>(presenter_->FramesUnchanged()));
  presenter_.reset();
  return !failed_;
}

// The screen: a window where asked for or where a display is named, else
// headless. False with the exit status when an asked-for window cannot open.
bool OpenScreen(const DeviceOptions &o, std::unique_ptr<WindowPresenter> *presenter, std::string *why, int *status) {
  if (o.screen == DeviceOptions::Screen::Window || (!o.screen && WindowPresenter::DisplayNamed())) {
    *presenter = WindowPresenter::Start(o.scale, why);
    if (!*presenter && o.screen) return *status = Fail(*why, 1), false;
  }
  return true;
}

// The choices left open, and what the user should know of them. False with
// the exit status when the device cannot run as asked.
bool Complete(DeviceOptions *o, bool window, const std::string &noWindow, const std::vector<ScriptAction> &script,
              int *status) {
  std::string error;
  const bool fellBack = !window && !o->screen;
  if (!CheckLiveAudio(*o, &error)) return *status = Fail(error, 1), false;
  std::vector<std::string> notes;
  ChooseAudio(o, &notes);
  double recordingEnd = 0;
  if (o->capture == DeviceOptions::Capture::File || !window) {
    if (!HeadlessDuration(*o, script, &recordingEnd, &error)) return *status = Fail(error, 1), false;
    if (!window && !o->duration) o->duration = recordingEnd;
  }
  if (fellBack) {
    o->traceText = true;
    if (o->screenshot.empty()) o->screenshot = "drovane-screen.png";
    const char *clock = o->clock == DeviceOptions::Clock::Virtual ? "virtual" : "real";
    notes.insert(notes.begin(), (noWindow.empty() ? "no display" : noWindow) + ", so the phone runs headless on the " +
                                    clock + " clock: its texts follow on stdout, its last screen goes to " +
                                    o->screenshot);
  }
  for (const std::string &note : notes) std::fprintf(stderr, "%s: %s\n", program.c_str(), note.c_str());
  return true;
}

int Run(Phone &phone, const DeviceOptions &o, const std::vector<ScriptAction> &script,
        std::unique_ptr<WindowPresenter> presenter) {
  phone.SwitchOn();
  SelectAudio(o);
  if (presenter) presenter->Connect();
  Session session(o, std::move(presenter));
  session.Schedule(script, o.duration);
  platform::SetIdleHook([&session] { session.Idle(); });
  const int result = WinMain(kInstance, nullptr, nullptr, SW_SHOW);
  const bool finished = session.Finish();
  std::fflush(stdout);
  return finished ? result : 1;
}

int RunOnPhone(DeviceOptions &o, const std::vector<ScriptAction> &script, std::unique_ptr<WindowPresenter> presenter,
               const std::string &noWindow) {
  if (!o.clock) o.clock = presenter ? DeviceOptions::Clock::Real : DeviceOptions::Clock::Virtual;
  Phone phone(o.clock == DeviceOptions::Clock::Virtual ? ClockKind::Virtual : ClockKind::Real);
  int status = 0;
  if (!Complete(&o, presenter != nullptr, noWindow, script, &status)) return status;
  return Run(phone, o, script, std::move(presenter));
}

}  // namespace

int RunDevice(int argc, char **argv) {
  if (argc > 0) program = std::string(argv[0]).substr(std::string(argv[0]).find_last_of('/') + 1);
  DeviceOptions o;
  std::string error;
  if (!o.Parse(argc, argv, &error)) return Fail(error, 2);
  if (o.help) return std::fputs(DeviceUsage(program).c_str(), stdout), 0;
  if (o.version) return std::printf("%s %s\n", program.c_str(), DROVANE_VERSION), 0;
  if (o.listDevices) return ListDevices();
  SetPreciseMeasuring(o.precise);
  std::vector<ScriptAction> script;
  int status = 0;
  if (!o.script.empty() && !ReadScript(o.script, &script, &status, &error)) return Fail(error, status);
  std::unique_ptr<WindowPresenter> presenter;
  std::string noWindow;
  if (!OpenScreen(o, &presenter, &noWindow, &status)) return status;
  const int result = RunOnPhone(o, script, std::move(presenter), noWindow);
  GdiShutdown();
  return result;
}

}  // namespace platform::device
