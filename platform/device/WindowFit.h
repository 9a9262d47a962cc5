#pragma once

// Where the phone's screen goes on the desktop: the window's size and place
// within the usable area of the display, and the picture's rectangle within
// a window of any size (the phone's aspect kept, the rest left black).
// Pure geometry, in desktop pixels.
#include <string>

namespace platform::device {

struct Area {
  int x = 0, y = 0, w = 0, h = 0;
};

struct WindowFit {
  Area window;       // inside the usable area wherever it can be
  std::string note;  // what the user is told when the size is not the one asked, or ""
};

// The window for `scale` (0: the largest whole factor that fits) on a
// display whose usable area is `usable` (w 0: unknown, the scale is kept).
// A factor that does not fit gives way to the largest that does; where not
// even one does, the screen is shown smaller, its aspect kept. Room is left
// for a window manager's frame.
WindowFit FitWindow(int scale, const Area &usable);

// The picture's rectangle in a window of `width` × `height`: centred, as
// large as its aspect allows (a whole factor in a window of one).
Area Letterbox(int width, int height);

// The phone's pixel under window point (x, y) in the picture `box`, or the
// nearest one on its edge; false when the point lies outside the picture.
bool PhonePoint(const Area &box, int x, int y, int *phoneX, int *phoneY);

}  // namespace platform::device
