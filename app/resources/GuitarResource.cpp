#include "GuitarResource.h"

#include <cstddef>

#include "resources/ResourceTable.h"

extern const unsigned char kGuitarBmp[];
extern const std::size_t kGuitarBmpSize;

void RegisterGuitarBitmap(HINSTANCE module) {
  ResourceTable::Register(module, ResourceTable::Id(ResourceTable::kBitmap), L"Guitar.bmp",
                          {kGuitarBmp, kGuitarBmpSize});
}
