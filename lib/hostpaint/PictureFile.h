#pragma once

#include "general/CRefCounter.h"
#include "win/gdi.h"

// A bitmap resource held selected in its own memory DC, ready to be copied
// from (BitBlt/StretchBlt with DC()). If the resource cannot be loaded every
// handle stays null and the size 0, and copying from it draws nothing.
// Counted; UI thread only.
class PictureFile : public virtual CRefCounter {
 public:
  PictureFile(HINSTANCE module, LPCWSTR resourceName);
  ~PictureFile() override;
  PictureFile(const PictureFile &) = delete;
  PictureFile &operator=(const PictureFile &) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  HDC DC() const { return dc_; }
  HBITMAP Bitmap() const { return bitmap_; }

 private:
  int height_ = 0;
  int width_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
};
