// Bitmaps from the program's compiled-in resources.
#include "DibDecoder.h"
#include "GdiState.h"
#include "resources/ResourceTable.h"

using namespace gdi;

HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name) {
  auto bytes = ResourceTable::Find(module, ResourceTable::Id(ResourceTable::kBitmap), name);
  cairo_surface_t *surface = bytes.data() ? DecodeDib(bytes) : nullptr;
  if (!surface) return nullptr;
  auto object = MakeObject(Kind::Bitmap);
  object->bitmap = std::make_unique<Bitmap>();
  object->bitmap->surface = surface;
  return static_cast<HBITMAP>(Current().Handles().Add(std::move(object)));
}
