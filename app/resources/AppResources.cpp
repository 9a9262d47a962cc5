#include "AppResources.h"

#include <cstddef>

#include "GuitarResource.h"
#include "resources/KeptResources.h"
#include "resources/ResourceTable.h"

extern const unsigned char kIconGroup[], kIcon16[], kIcon32[];
extern const std::size_t kIconGroupSize, kIcon16Size, kIcon32Size;

namespace {

constexpr WORD kMenuBarId = 701, kMenuId = 703, kCloseCommand = 702, kMenuCommand = 704;
constexpr WORD kIconGroupId = 103;
constexpr WORD kIconType = 3, kIconGroupType = 14;
// Marks the program as drawing for high-resolution screens itself.
constexpr unsigned char kHiResAware[] = {1, 0};

void RegisterMenuBar(HINSTANCE module) {
  resources::MenuBar bar;
  bar.menu = kMenuId;
  bar.buttons = {{kCloseCommand, 0x04, 0x10, kCloseCommand, 0xFFFF}, {kMenuCommand, 0x04, 0x18, kMenuCommand, 0}};
  resources::Menu menu = {{L"Menu",
                           {{713, L"Auto Calibrate"},
                            {},
                            {706, L"E"},
                            {707, L"A"},
                            {708, L"D"},
                            {709, L"G"},
                            {710, L"B"},
                            {711, L"E"},
                            {},
                            {705, L"About"}}}};
  using ResourceTable::Id;
  resources::RegisterKept(module, Id(ResourceTable::kRcData), Id(kMenuBarId), resources::EncodeMenuBar(bar));
  resources::RegisterKept(module, Id(ResourceTable::kMenu), Id(kMenuId), resources::EncodeMenu(menu));
  resources::RegisterKeptStrings(module, {{kCloseCommand, L"Close"}, {kMenuCommand, L"Menu"}});
}

void RegisterIcon(HINSTANCE module) {
  using ResourceTable::Id;
  ResourceTable::Register(module, Id(kIconType), Id(1), {kIcon16, kIcon16Size});
  ResourceTable::Register(module, Id(kIconType), Id(2), {kIcon32, kIcon32Size});
  ResourceTable::Register(module, Id(kIconGroupType), Id(kIconGroupId), {kIconGroup, kIconGroupSize});
}

}  // namespace

void RegisterAppResources(HINSTANCE module) {
  RegisterGuitarBitmap(module);
  RegisterMenuBar(module);
  ResourceTable::Register(module, L"CEUX", L"HI_RES_AWARE", kHiResAware);
  RegisterIcon(module);
}
