#include "PictureFile.h"

PictureFile::PictureFile(HINSTANCE module, LPCWSTR resourceName) {
  bitmap_ = LoadBitmapW(module, resourceName);
  if (!bitmap_) return;
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_) previousBitmap_ = SelectObject(dc_, bitmap_);
  BITMAP header{};
  if (GetObjectW(bitmap_, sizeof header, &header)) {
    width_ = header.bmWidth;
    height_ = header.bmHeight;
  }
}

PictureFile::~PictureFile() {
  if (dc_) {
    SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}
