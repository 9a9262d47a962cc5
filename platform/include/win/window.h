#pragma once

// The phone's windows: classes, windows and their messages, painting, focus,
// the "STATIC" class and the message box, with their Win32 names, types and
// values. Every call belongs to the program thread (the one that made the
// running phone; another thread's call stops the program, see win/user.h).
// A handle that is not a live window (never made, destroyed,
// or destroyed while its own WM_DESTROY runs) makes a call fail cleanly with
// its Win32 failure result (FALSE, NULL or 0) and change nothing.
//
// Screen geometry: 240 x 320 pixels; the shell owns the caption strip (the
// top 24 rows) and the soft-key bar (the bottom 26 rows). A top-level window
// made with CW_USEDEFAULT gets the area below the caption (240 x 296) until
// the program shrinks it above its menu bar.
#include "win/gdi.h"
#include "win/user.h"

typedef WORD ATOM;
typedef HICON HCURSOR;

typedef struct tagWNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
} WNDCLASSW;

typedef struct tagCREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTW;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT;

#define MAKEINTRESOURCEW(i) ((LPWSTR)((uintptr_t)((WORD)(i))))

// Messages.
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_ERASEBKGND 0x0014
#define WM_CANCELMODE 0x001F
#define WM_COMMAND 0x0111
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202

#define MK_LBUTTON 0x0001

// Keys besides those of win/user.h.
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_F1 0x70
#define VK_F2 0x71

// Class and window styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_EX_CAPTIONOKBTN 0x80000000L
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define CW_USEDEFAULT ((int)0x80000000)

// ShowWindow.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

// Dialog results and message-box styles.
#define IDOK 1
#define MB_OK 0x00000000L

// GetSystemMetrics.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1

// Classes. A class name is unique per module instance; registering it again
// fails (0). "STATIC" is always registered.
ATOM WINAPI RegisterClassW(const WNDCLASSW *windowClass);

// Sends WM_CREATE (lParam: a CREATESTRUCTW whose cx/cy are the window's size);
// a WM_CREATE result of -1 destroys the window and gives NULL. A child needs
// a live parent. A visible window is invalidated (erase) once created.
HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                            LPVOID param);
// Sends WM_DESTROY to the window, then to its children (each child also
// destroyed), and forgets them. Messages still posted to them go nowhere.
BOOL WINAPI DestroyWindow(HWND window);
BOOL WINAPI IsWindow(HWND window);

// WM_CLOSE destroys the window; WM_ERASEBKGND fills the update area with the
// class brush (returns 1); WM_PAINT validates (BeginPaint and EndPaint, so a
// pending erase happens); anything else returns 0.
LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window's procedure at once (re-entrant calls are allowed) and
// returns its result; 0 for a handle that is not a window.
LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Geometry: a client rectangle starts at (0, 0); a window rectangle is in
// screen coordinates. MoveWindow takes parent coordinates (screen ones for a
// top-level window) and, with `repaint`, invalidates what changed.
BOOL WINAPI GetClientRect(HWND window, RECT *rect);
BOOL WINAPI GetWindowRect(HWND window, RECT *rect);
BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Returns whether the window was visible before.
BOOL WINAPI ShowWindow(HWND window, int command);
// Sends WM_PAINT at once if the window has an update region.
BOOL WINAPI UpdateWindow(HWND window);

// Painting. A window's update area is the union (bounding rectangle) of what
// was invalidated; WM_PAINT is generated for it when no posted message is
// waiting, one per window. BeginPaint sends WM_ERASEBKGND first when any
// invalidation asked to erase, validates, and gives a DC on the screen
// clipped to the update area (rcPaint); children paint over their parent.
BOOL WINAPI InvalidateRect(HWND window, const RECT *rect, BOOL erase);  // NULL: whole client
BOOL WINAPI ValidateRect(HWND window, const RECT *rect);
HDC WINAPI BeginPaint(HWND window, PAINTSTRUCT *paint);
BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT *paint);
// A DC on the window's client area of the screen; give it back with ReleaseDC.
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);

// Keyboard focus: keys arrive at the focus window as WM_KEYDOWN / WM_KEYUP.
// Returns the previous focus window. A destroyed focus window leaves none.
HWND WINAPI SetFocus(HWND window);
HWND WINAPI GetFocus(void);

// Any window's text; a top-level window's text is its caption. GetWindowTextW
// copies at most count - 1 characters and a terminator and returns the length
// copied.
BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text);
int WINAPI GetWindowTextW(HWND window, LPWSTR text, int count);

// Modal: the shell draws the box over the screen (caption, the text with its
// line breaks, an "OK" soft key) and waits until Enter, the left soft key,
// Back or a tap on OK closes it; returns IDOK (0 if it could not be shown).
// The program's own loop, timers and posted messages wait meanwhile; device
// buffers go on filling and are delivered afterwards.
int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

int WINAPI GetSystemMetrics(int index);

// The program's entry point. The device's main() calls it with the program's
// module instance (under which the program registers its resources) and
// exits with its result; the other arguments are null, null and SW_SHOW.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
