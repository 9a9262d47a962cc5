#pragma once

// The phone's drawing calls, with their Win32 names, types and values.
// Thread: every call comes from the program thread (another thread's call
// stops the program, see win/user.h); nothing is locked.
// Handles: a stale, deleted or wrong-kind handle makes a call fail with its
// Win32 failure result (FALSE, NULL, 0, CLR_INVALID or GDI_ERROR) and change
// nothing. Coordinates are pixels; a rectangle excludes its right and bottom
// edges. Colours are COLORREF 0x00BBGGRR (see RGB in types.h).
#include "win/types.h"

#define LF_FACESIZE 32
#define FW_NORMAL 400
#define FW_BOLD 700

typedef struct tagLOGFONTW {
  LONG lfHeight;  // > 0: cell height; < 0: character (em) height; 0: default
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW;

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP;

typedef struct tagTEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICW;

// Stock objects (GetStockObject).
#define WHITE_BRUSH 0
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13

// Pen styles (CreatePen).
#define PS_SOLID 0
#define PS_NULL 5

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Text alignment (SetTextAlign). TA_UPDATECP is not offered.
#define TA_NOUPDATECP 0
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

// ExtTextOutW options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// DrawTextW formats.
#define DT_TOP 0x0000
#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_RIGHT 0x0002
#define DT_NOCLIP 0x0100

// Raster operation (BitBlt, StretchBlt): only a plain copy is offered.
#define SRCCOPY 0x00CC0020u

#define CLR_INVALID 0xFFFFFFFFu
#define GDI_ERROR 0xFFFFFFFFu

// Objects. Created objects are counted until deleted; stock objects are
// shared, never counted, and deleting one succeeds without effect.
HDC CreateCompatibleDC(HDC hdc);  // NULL: compatible with the screen
BOOL DeleteDC(HDC hdc);
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);  // always 32-bit
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HFONT CreateFontIndirectW(const LOGFONTW *lf);
HGDIOBJ GetStockObject(int index);
// Returns the previous object of the same kind, or NULL on failure (a
// bitmap already selected into another DC, a bitmap into a window DC).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
// Fails (FALSE) for an object that is selected into a DC.
BOOL DeleteObject(HGDIOBJ object);
// A font yields its LOGFONTW, a bitmap its BITMAP; returns the bytes written
// (or needed, when `buffer` is NULL), 0 on failure.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
// Bitmap resource of `module` by name (resource type RT_BITMAP); NULL if missing.
HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name);

// Attributes; each returns the previous value.
int SetBkMode(HDC hdc, int mode);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF SetTextColor(HDC hdc, COLORREF color);
UINT SetTextAlign(HDC hdc, UINT align);
BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW *metrics);

// Text. `count` -1 means a zero-terminated string (DrawTextW only). Both
// honour the DC's text alignment at the positions they compute, as Win32 does.
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT *rect, LPCWSTR text, UINT count,
                 const INT *dx);
// Lines break at "\r\n", "\n" and "\r"; returns the height of the text drawn.
int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT *rect, UINT format);
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE *size);

// Lines: a 1-pixel line excludes its last point; a wider pen has round ends
// and joins and is centred on the line.
BOOL MoveToEx(HDC hdc, int x, int y, POINT *previous);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT *points, int count);
// Outline with the pen, filled with the brush; with the null pen the filled
// area is one pixel narrower and shorter, as on Win32.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);

BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, int cx1,
                int cy1, DWORD rop);

BOOL IntersectRect(RECT *result, const RECT *a, const RECT *b);
