#pragma once

// A stand-in for the platform's queue and wait calls, linked instead of the
// real ones: it records every call the loop makes, with their arguments, and
// answers from a script.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "win/user.h"

namespace scripted {

extern std::vector<std::string> calls;
extern std::deque<MSG> queue;             // what PeekMessageW finds
extern std::deque<DWORD> waitResults;     // answers of the waits; then WAIT_FAILED
extern std::function<void(const MSG &)> onDispatch;

void Reset();
MSG Message(UINT message, WPARAM wParam = 0);

}  // namespace scripted
