#pragma once

// The basic types of the phone's platform calls, with their Win32 names and
// sizes. Wide characters are the host's wchar_t, so L"..." literals work.
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef wchar_t WCHAR;
typedef const WCHAR *LPCWSTR;
typedef WCHAR *LPWSTR;
typedef DWORD COLORREF;
typedef void *HANDLE;
typedef void *LPVOID;
typedef DWORD MMRESULT;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define DROVANE_DECLARE_HANDLE(name) \
  struct name##__ {                  \
    int unused;                      \
  };                                 \
  typedef struct name##__ *name

DROVANE_DECLARE_HANDLE(HWND);
DROVANE_DECLARE_HANDLE(HINSTANCE);
DROVANE_DECLARE_HANDLE(HDC);
DROVANE_DECLARE_HANDLE(HBITMAP);
DROVANE_DECLARE_HANDLE(HPEN);
DROVANE_DECLARE_HANDLE(HBRUSH);
DROVANE_DECLARE_HANDLE(HFONT);
DROVANE_DECLARE_HANDLE(HMENU);
DROVANE_DECLARE_HANDLE(HICON);
DROVANE_DECLARE_HANDLE(HWAVEIN);
DROVANE_DECLARE_HANDLE(HWAVEOUT);
typedef HANDLE HGDIOBJ;
typedef HINSTANCE HMODULE;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE;

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(a)) | ((DWORD)((WORD)(b))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))

#define INFINITE 0xFFFFFFFFu
