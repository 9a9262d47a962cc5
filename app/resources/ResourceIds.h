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

}  // namespace ResourceIds
