#include <cstdio>

#include "RunApplication.h"
#include "TunerOptions.h"
#include "resources/AppResources.h"

// The tuner's options come on its command line, as the phone's shell passes
// them. The device refuses a bad one before it starts; one that reaches here
// comes from elsewhere and is refused alike.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  TunerOptions options;
  std::string error;
  if (!options.Parse(platform::device::SplitCommandLine(commandLine), &error)) {
    std::fprintf(stderr, "drovane: %s\n", error.c_str());
    return 2;
  }
  RegisterAppResources(instance);
  return RunApplication(instance, options);
}

const platform::device::ProgramOptions &ProgramCommandLine() { return TunerCommandLine(); }
