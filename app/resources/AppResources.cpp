#include "AppResources.h"

#include <cstddef>

#include "GuitarResource.h"
#include "ResourceIds.h"
#include "resources/KeptResources.h"
#include "resources/ResourceTable.h"

extern const unsigned char kIconGroup[], kIcon16[], kIcon32[];
extern const std::size_t kIconGroupSize, kIcon16Size, kIcon32Size;

namespace {

using namespace ResourceIds;

constexpr WORD kIconType = 3, kIconGroupType = 14;
// Marks the program as drawing for high-resolution screens itself.
constexpr unsigned char kHiResAware[] = {1, 0};

void RegisterMenuBar(HINSTANCE module) {
  resources::MenuBar bar;
  bar.menu = kMenu;
  bar.buttons = {{kClose, 0x04, 0x10, kClose, 0xFFFF}, {kMenuButton, 0x04, 0x18, kMenuButton, 0}};
  resources::Menu menu = {{L"Menu",
                           {{kAutoCalibrate, L"Auto Calibrate"},
                            {},
                            {kFirstString, L"E"},
                            {kFirstString + 1, L"A"},
                            {kFirstString + 2, L"D"},
                            {kFirstString + 3, L"G"},
                            {kFirstString + 4, L"B"},
                            {kLastString, L"E"},
                            {},
                            {kAbout, L"About"}}}};
  using ResourceTable::Id;
  resources::RegisterKept(module, Id(ResourceTable::kRcData), Id(kMenuBar), resources::EncodeMenuBar(bar));
  resources::RegisterKept(module, Id(ResourceTable::kMenu), Id(kMenu), resources::EncodeMenu(menu));
  resources::RegisterKeptStrings(module, {{kClose, L"Close"}, {kMenuButton, L"Menu"}});
}

void RegisterIcon(HINSTANCE module) {
  using ResourceTable::Id;
  ResourceTable::Register(module, Id(kIconType), Id(1), {kIcon16, kIcon16Size});
  ResourceTable::Register(module, Id(kIconType), Id(2), {kIcon32, kIcon32Size});
  ResourceTable::Register(module, Id(kIconGroupType), Id(kAppIcon), {kIconGroup, kIconGroupSize});
}

}  // namespace

void RegisterAppResources(HINSTANCE module) {
  RegisterGuitarBitmap(module);
  RegisterMenuBar(module);
  ResourceTable::Register(module, L"CEUX", L"HI_RES_AWARE", kHiResAware);
  RegisterIcon(module);
}
