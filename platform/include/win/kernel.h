#pragma once

// Kernel objects of the phone: events, handles, tick counts and thread ids,
// with their Win32 names and values. Every call may come from any thread
// while the phone runs (a signal watcher sets an event); with no phone
// running one stops the program (see win/user.h), but for
// GetCurrentThreadId, which needs none.
#include "win/types.h"

#ifndef WINAPI
#define WINAPI
#endif

typedef void *LPSECURITY_ATTRIBUTES;

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64u

// A new event, auto-reset unless `manualReset`, signalled if `initialState`.
// Security attributes and the name are ignored. Null when creation fails.
HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset,
                           BOOL initialState, LPCWSTR name);
// FALSE for a handle that is not an open event; nothing else changes then.
BOOL WINAPI SetEvent(HANDLE event);
BOOL WINAPI ResetEvent(HANDLE event);
// Closes an event; a second close, like any unknown handle, fails with FALSE.
BOOL WINAPI CloseHandle(HANDLE object);

// Milliseconds of the platform clock (real or virtual); wraps after 49.7 days.
DWORD WINAPI GetTickCount(void);
// A non-zero id, fixed for the life of the calling thread.
DWORD WINAPI GetCurrentThreadId(void);
