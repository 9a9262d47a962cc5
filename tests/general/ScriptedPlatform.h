#pragma once

// A stand-in for the platform's queue, wait and timer calls, linked instead
// of the real ones: it records every call the loop and the timer service
// make, with their arguments, and answers from a script.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "win/user.h"

namespace scripted {

extern std::vector<std::string> calls;
extern std::deque<MSG> queue;             // what PeekMessageW finds
extern std::deque<DWORD> waitResults;     // answers of the waits; then WAIT_FAILED
extern std::deque<UINT_PTR> timerIds;     // answers of SetTimer; then 0
extern std::function<void(const MSG &)> onDispatch;
extern TIMERPROC expectedProc;            // SetTimer's procedure is recorded as "proc" if it is this one

void Reset();
MSG Message(UINT message, WPARAM wParam = 0);

}  // namespace scripted
