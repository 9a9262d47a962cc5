#include "StringMenu.h"

#include "measure/MidiTypes.h"
#include "resources/ResourceIds.h"
#include "win/shell.h"

using namespace ResourceIds;

void LabelStringItems(HWND menuBar, std::span<const int, 6> notes) {
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuBar, SHCMBM_GETSUBMENU, 0, kMenuButton));
  if (!menu) return;
  for (UINT i = 0; i < notes.size(); ++i)
    ModifyMenuW(menu, kFirstString + i, MF_BYCOMMAND | MF_STRING, kFirstString + i, GetPitchShortName(notes[i]));
}
