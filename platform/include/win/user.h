#pragma once

// The program thread's message queue, the wait on messages and handles, and
// timers without a window, with their Win32 names and values.
//
// Only the program thread (the one that made the running phone) reads the
// queue: PeekMessageW, TranslateMessage, DispatchMessageW,
// MsgWaitForMultipleObjectsEx, SetTimer, KillTimer, PostQuitMessage.
// PostThreadMessageW, and PostMessageW without a window, may be called from
// any thread; windows belong to the program thread. A call made on a thread
// it does not belong to, or with no phone running, stops the program with a
// line on stderr naming the call (see phone/Phone.h).
#include "win/kernel.h"

#ifndef CALLBACK
#define CALLBACK
#endif

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;  // GetTickCount when the message was posted or generated
  POINT pt;
} MSG, *PMSG, *LPMSG;

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK *TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

#define WM_NULL 0x0000
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_TIMER 0x0113
#define WM_HOTKEY 0x0312
#define WM_USER 0x0400

#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

#define QS_KEY 0x0001
#define QS_MOUSEMOVE 0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040

// Only the unfiltered form is offered: no window, range 0..0 (a filtered call
// finds nothing). Order: posted messages first in, then WM_QUIT, then
// WM_PAINT for a window with an update area (until it is validated), then one
// WM_TIMER for the earliest due timer (generated on the spot, so a timer
// never has more than one pending; removing it restarts the period).
// Runs the platform's due occurrences first.
BOOL WINAPI PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg);
// Posts WM_CHAR for a WM_KEYDOWN of a character key (digits, letters in lower
// case, Back, Tab, Return, Escape, Space), ahead of the messages already
// waiting, as Win32 takes it before further input. Non-zero for any key
// message.
BOOL WINAPI TranslateMessage(const MSG *msg);
// WM_TIMER with a procedure in lParam calls it; a message for a window calls
// that window's procedure; thread messages go nowhere. Returns its result.
LRESULT WINAPI DispatchMessageW(const MSG *msg);
// With no window, posts to the calling thread's queue.
BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// FALSE unless `threadId` is the program thread.
BOOL WINAPI PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// WM_QUIT with the exit code follows the messages already posted.
void WINAPI PostQuitMessage(int exitCode);

// Waits for one of up to MAXIMUM_WAIT_OBJECTS events or for new input.
// Returns WAIT_OBJECT_0 + i for the lowest signalled index (an auto-reset
// event is reset by it), WAIT_OBJECT_0 + count when input of a kind in
// `wakeMask` has arrived since the queue was last looked at (a posted message,
// a timer falling due), WAIT_TIMEOUT, or WAIT_FAILED (an invalid handle, too
// many handles, flags other than 0 or, on the virtual clock, an endless wait
// with nothing that could ever end it). Runs the platform's due occurrences.
DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE *handles, DWORD milliseconds,
                                         DWORD wakeMask, DWORD flags);

// Without a window: a new timer id (non-zero) whose expiries arrive as
// WM_TIMER (wParam id, lParam `proc`). `id` is ignored unless it names a
// running timer, which is then replaced. Periods below 10 ms count as 10 ms.
// 0 on failure; a window is not accepted.
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC proc);
// FALSE for an id that is not running.
BOOL WINAPI KillTimer(HWND window, UINT_PTR id);
