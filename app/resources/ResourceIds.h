#pragma once

// The identifiers the tuner's resources and its shell share: the soft-key
// menu bar, its menu, the menu's commands and the icon group.
#include "win/types.h"

namespace ResourceIds {

constexpr WORD kMenuBar = 701;
constexpr WORD kMenu = 703;
constexpr WORD kAppIcon = 103;  // the icon group

// Menu commands; the soft keys' commands double as their strings' ids.
constexpr WORD kClose = 702;
constexpr WORD kMenuButton = 704;
constexpr WORD kAbout = 705;
constexpr WORD kFirstString = 706;  // the low E; the six strings follow
constexpr WORD kLastString = 711;
constexpr WORD kAutoCalibrate = 713;
constexpr WORD kMoreStrings = 720;  // strings 7 to 9, put in for the tunings that have them

// The menu's string items: string 1's place among the menu's items
// (separators count), and the command of string i, 0 first.
constexpr UINT kFirstStringPlace = 2;
constexpr WORD StringCommand(int i) { return static_cast<WORD>(i < 6 ? kFirstString + i : kMoreStrings + i - 6); }

}  // namespace ResourceIds
