#pragma once

// The guitar picture of the string panel (74 x 112, 24-bit), drawn at build
// time and compiled in.
#include "win/types.h"

// Registers it as the bitmap resource "Guitar.bmp" of `module`.
void RegisterGuitarBitmap(HINSTANCE module);
