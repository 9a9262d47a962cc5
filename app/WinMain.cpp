#include "RunApplication.h"
#include "resources/AppResources.h"

// The command line is the device's; the tuner takes no arguments.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  RegisterAppResources(instance);
  return RunApplication(instance);
}
