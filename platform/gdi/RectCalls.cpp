// Rectangle arithmetic the painting code needs.
#include <algorithm>

#include "win/gdi.h"

BOOL IntersectRect(RECT *result, const RECT *a, const RECT *b) {
  if (!result || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (r.left >= r.right || r.top >= r.bottom) {
    *result = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *result = r;
  return TRUE;
}
