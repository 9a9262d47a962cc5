#include "device/ProgramSettings.h"

namespace platform::device {

namespace {
bool precise = false;
}  // namespace

bool PreciseMeasuring() { return precise; }
void SetPreciseMeasuring(bool value) { precise = value; }

}  // namespace platform::device
