// main() of a program built on the phone: the program provides WinMain.
#include "device/Device.h"

int main(int argc, char **argv) { return platform::device::RunDevice(argc, argv); }
