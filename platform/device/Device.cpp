#include "device/Device.h"

#include <cstdio>
#include <memory>

#include "base/OutputFile.h"
#include "base/StandardOutput.h"

#include "device/Console.h"
#include "device/DeviceOptions.h"
#include "device/DeviceSetup.h"
#include "device/DeviceUsage.h"
#include "device/Session.h"
#include "device/WindowPresenter.h"
#include "gdi/GdiHost.h"
#include "kernel/StopSignals.h"
#include "phone/Phone.h"
#include "wave/AudioNames.h"
#include "wave/WaveDevices.h"

namespace platform::device {

namespace {

// The program's module instance, under which it registers its resources.
const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);
// Where a headless run nobody asked a screenshot of leaves its last screen.
const char kDefaultScreenshot[] = "drovane-screen.png";

// Each device as the value of --capture or --playback that chooses it.
int ListDevices(const Console &console) {
  Phone phone(ClockKind::Real);
  for (bool capture : {true, false}) {
    std::string error;
    const std::vector<std::string> devices = wave::ListDeviceWords(capture, &error);
    if (devices.empty() && !error.empty()) return console.Fail(error);
    for (const std::string &device : devices)
      std::printf("%s\t%s\n", capture ? "capture" : "playback", device.c_str());
  }
  return 0;
}

// The screen: a window where asked for or where a display is named, else
// headless (`why` says why no window opened). False when an asked-for
// window cannot open. A window not of the size asked says so.
bool OpenScreen(const Console &console, const DeviceOptions &o, std::unique_ptr<WindowPresenter> *presenter,
                std::string *why) {
  if (o.screen == DeviceOptions::Screen::Window || (!o.screen && WindowPresenter::DisplayNamed())) {
    *presenter = WindowPresenter::Start(o.scale, why);
    if (!*presenter && o.screen) return false;
    if (*presenter && !(*presenter)->Note().empty()) console.Say((*presenter)->Note());
  }
  return true;
}

// Without a display and without --screen, a headless run says so, traces
// its texts and leaves its last screen in the current folder, or says why
// it cannot.
void FallBackToHeadless(DeviceOptions *o, const std::string &noWindow, std::vector<std::string> *notes) {
  o->traceText = true;
  std::string kept;
  if (o->screenshot.empty()) {
    const std::string why = drovane::WhyNotWritable(kDefaultScreenshot);
    o->screenshot = why.empty() ? kDefaultScreenshot : "";
    o->defaultScreenshot = why.empty();
    kept = why.empty() ? "" : ", its last screen is not kept (" + cli::Quoted(kDefaultScreenshot) + ": " + why + ")";
  }
  if (kept.empty()) kept = ", its last screen goes to " + o->screenshot;
  notes->insert(notes->begin(), (noWindow.empty() ? "no display" : noWindow) + ", so the phone runs headless on the " +
                                    wave::NameOf(*o->clock) + " clock: its texts follow on stdout" + kept);
}

// The program's life on the running phone, with what runs beside it.
int Run(const Console &console, Phone &phone, const DeviceOptions &o, std::vector<ScriptAction> script,
        std::unique_ptr<WindowPresenter> presenter) {
  phone.SwitchOn();
  AudioStatus audio = SelectAudio(o);
  if (presenter) presenter->Connect();
  Session session(console, o, std::move(presenter), std::move(audio));
  platform::StopSignals stops([&session](int) { session.Quit(); });
  session.Start(std::move(script));
  platform::SetIdleHook([&session] { session.Idle(); });
  std::wstring commandLine = JoinCommandLine(o.programArgs);
  const int result = WinMain(kInstance, nullptr, commandLine.data(), SW_SHOW);
  return session.Finish() ? result : 1;
}

// The phone on the clock the screen calls for, its choices completed.
int RunOnPhone(const Console &console, DeviceOptions &o, std::vector<ScriptAction> script,
               std::unique_ptr<WindowPresenter> presenter, const std::string &noWindow) {
  const bool window = presenter != nullptr;
  // Live audio runs at the sound card's pace, headless too.
  if (!o.clock) o.clock = window || o.Live() ? ClockKind::Real : ClockKind::Virtual;
  Phone phone(*o.clock);
  std::string error;
  if (!(window && o.clock == ClockKind::Real) && !CheckLiveAudio(o, &error)) return console.Fail(error);
  std::vector<std::string> notes;
  ChooseAudio(&o, window, &notes);
  if (!window && !o.screen) FallBackToHeadless(&o, noWindow, &notes);
  for (const std::string &note : notes) console.Say(note);
  return Run(console, phone, o, std::move(script), std::move(presenter));
}

// Options, script and files, then the screen and the phone.
int Start(const Console &console, int argc, char **argv) {
  const ProgramOptions &program = ProgramCommandLine();
  DeviceOptions o;
  std::string error;
  switch (o.Parse(argc, argv, program, &error)) {
    case cli::Outcome::kHelp: return std::fputs(DeviceUsage(console.Program(), program).c_str(), stdout), 0;
    case cli::Outcome::kVersion: return std::fputs(cli::VersionLine(console.Program()).c_str(), stdout), 0;
    case cli::Outcome::kUsageError: return console.Fail(error, 2);
    case cli::Outcome::kRun: break;
  }
  if (o.listDevices) return ListDevices(console);
  std::vector<ScriptAction> script;
  if (!o.script.empty()) {
    if (const int status = ReadScriptFile(o.script, &script, &error)) return console.Fail(error, status);
  }
  if (!CheckFiles(o, script, &error)) return console.Fail(error);
  std::unique_ptr<WindowPresenter> presenter;
  std::string noWindow;
  if (!OpenScreen(console, o, &presenter, &noWindow)) return console.Fail(noWindow);
  const int status = RunOnPhone(console, o, std::move(script), std::move(presenter), noWindow);
  GdiShutdown();
  return status;
}

}  // namespace

// What was written to stdout (help, the trace) must have arrived; a run a
// signal ended in order ends as that signal would have ended it.
int RunDevice(int argc, char **argv) {
  drovane::ReserveStandardStreams();
  const Console console(argc > 0 ? argv[0] : nullptr);
  int status = Start(console, argc, argv);
  std::string error;
  if (!drovane::CloseStandardOutput(&error)) {
    console.Say(error);
    if (status == 0) status = 1;
  }
  if (const int signal = platform::StopSignals::Caught(); signal && status == 0) platform::StopSignals::EndAs(signal);
  return status;
}

}  // namespace platform::device
