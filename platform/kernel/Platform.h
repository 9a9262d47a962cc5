#pragma once

// The platform's own interface for drivers, the device's start-up and tests
// (not a Win32 call; the program never includes it).
//
// Clock. The phone runs on one clock: the host's monotonic clock (live) or
// a virtual clock (deterministic simulation), chosen when the phone is made
// (phone/Phone.h). On the virtual clock a wait that finds nothing ready jumps
// straight to the next due timer or occurrence, and an endless wait with
// neither returns WAIT_FAILED, so a simulated program ends through its loop's
// failure rule.
//
// Occurrences. A driver schedules an action at a clock time: the action runs
// on the program thread inside the platform's waits and peeks once its time
// has come (on the virtual clock: exactly at its time), one at a time and in
// time order (ties in the order scheduled). It may set WHDR_DONE flags, call
// SetEvent, post messages and schedule further occurrences. To chain without
// drift, compute the next time from the previous one, not from Now(). These
// calls take the platform's lock: an audio thread raises a DriverSignal
// (kernel/DriverSignal.h) instead.
//
// Fault injection. A test makes the n-th call (counted from the plan) of a
// named platform call fail with a chosen result. Names are the Win32 call
// names: "CreateEventW" and "SetTimer" now; wave calls use theirs
// ("waveInOpen", "waveInPrepareHeader", "waveInAddBuffer", "waveInStart",
// "waveOutWrite", ...). A platform call asks InjectedFailure first.
//
// Thread: SetIdleHook belongs to the program thread; the other calls may
// come from any thread, while the phone runs.
#include <cstdint>
#include <functional>
#include <string_view>

#include "kernel/Clock.h"
#include "kernel/Scheduler.h"

namespace platform {

// The words for them are in wave/AudioNames.h.
enum class ClockKind { Real, Virtual };

Time Now();

// Schedules `action` at `when`; a time already past runs at the next wait or
// peek. Ids are non-zero. Small captures (two pointers) do not allocate.
OccurrenceId ScheduleAt(Time when, std::function<void()> action);
// Drops a pending occurrence; false if it ran already or is unknown.
bool CancelOccurrence(OccurrenceId id);

// The `nth` call (1 = the next one) of `operation` fails with `result`.
void FailCall(std::string_view operation, unsigned nth, uintptr_t result);
// For platform calls: counts this call and tells whether it is to fail
// (never while no phone runs, as the device's start before it is made).
bool InjectedFailure(std::string_view operation, uintptr_t *result);

// How many times a wait found nothing ready and let time pass (slept on the
// real clock). Another thread that sees it rise knows the program thread is
// blocked or past its wait, so a test can signal then without timing.
uint64_t BlockedWaitCount();

// Idle: called on the program thread, without the platform lock, each time a
// wait finds nothing ready and is about to let time pass (the program has
// handled everything up to now). The device presents the screen, takes
// screenshots and writes its text trace here. The hook may post, schedule and
// draw, but must not wait. Set it from the program thread; null removes it.
void SetIdleHook(std::function<void()> hook);

}  // namespace platform
