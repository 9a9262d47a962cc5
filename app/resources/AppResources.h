#pragma once

// The tuner's compiled-in resources: the soft-key menu bar (RCDATA 701 with
// MENU 703 and the strings 702 "Close" and 704 "Menu"), the guitar picture
// "Guitar.bmp", the CEUX value "HI_RES_AWARE" and the icon group 103.
#include "win/types.h"

// Registers them all under `module`. UI thread, before the first window.
void RegisterAppResources(HINSTANCE module);
