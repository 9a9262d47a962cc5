#pragma once

// The Smartphone shell: the soft-key menu bar made from the program's
// resources, and the keys the shell gives the program. Program thread only.
#include "win/window.h"

// The phone's hardware keys. The soft keys are handled by the menu bar; the
// Back key reaches the program as WM_HOTKEY posted to the thread's queue,
// lParam MAKELPARAM(modifiers, VK_TBACK) with MOD_KEYUP on release.
#define VK_TSOFT1 VK_F1
#define VK_TSOFT2 VK_F2
#define VK_TBACK VK_ESCAPE
#define MOD_KEYUP 0x1000

// Menu-bar flags and the resource values of its buttons.
#define SHCMBF_EMPTYBAR 0x0001
#define I_IMAGENONE (-2)
#define NOMENU 0xFFFF
#define TBSTATE_ENABLED 0x04
#define TBSTYLE_DROPDOWN 0x08
#define TBSTYLE_AUTOSIZE 0x10

// On this platform cbSize is sizeof(SHMENUBARINFO) (the phone's 32-bit
// record is 36 bytes).
typedef struct tagSHMENUBARINFO {
  DWORD cbSize;
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;
  COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

// Reads the menu-bar RCDATA resource nToolBarId of hInstRes, its MENU and the
// string table, and makes the soft-key bar window at the bottom of the screen
// (hwndMB). FALSE, with no window made, when a resource is missing or
// malformed or the record is bad.
//
// Resource formats are Win32's, with strings in UTF-16LE:
// - RCDATA: WORD menu id, WORD button count, then per button seven WORDs:
//   image (I_IMAGENONE), command, state, style, label string id, 0, and the
//   index of its pop-up in the menu (NOMENU for none).
// - MENU: a MENUITEMTEMPLATEHEADER (two zero WORDs), then items: a pop-up is
//   WORD flags (MF_POPUP, MF_END on the last) and its text, followed by its
//   own items; a plain item is WORD flags (MF_END on the last), WORD id, text.
//   A separator is a plain item with flags 0, id 0 and empty text.
// - String table: resource (id >> 4) + 1 holds strings id & ~15 .. id | 15,
//   each a WORD length and that many UTF-16 code units.
BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info);

#define MF_POPUP 0x0010
#define MF_END 0x0080

// Sent to a menu bar: the pop-up menu of its button whose command is lParam
// (wParam 0), or NULL when that button opens none. The handle is the bar's
// as long as the bar lives.
#define SHCMBM_GETSUBMENU (WM_USER + 401)

#define MF_BYCOMMAND 0x0000
#define MF_BYPOSITION 0x0400
#define MF_STRING 0x0000

// Gives the item `position` (its command, MF_BYCOMMAND) of a menu bar's
// pop-up the command `newId` and the text `text` (MF_STRING). FALSE, with
// nothing changed, for a menu that is not a live bar's, an item it does not
// hold, other flags, or no text. A pop-up already open keeps what it shows.
BOOL WINAPI ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newId, LPCWSTR text);

// Puts an item with the command `newId` and the text `text` (MF_STRING) into
// a menu bar's pop-up before the item at `position` (MF_BYPOSITION: counted
// from 0, separators included; the item count appends). FALSE, with nothing
// changed, for a menu that is not a live bar's, a position past the end,
// other flags, or no text.
BOOL WINAPI InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newId, LPCWSTR text);

// Takes the item whose command is `position` (MF_BYCOMMAND) out of a menu
// bar's pop-up. FALSE, with nothing changed, for a menu that is not a live
// bar's, an item it does not hold, or other flags.
BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags);
