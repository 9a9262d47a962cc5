#include "StringMenu.h"

#include "measure/MidiTypes.h"
#include "resources/ResourceIds.h"
#include "win/shell.h"

using namespace ResourceIds;

void LabelStringItems(HWND menuBar, std::span<const int> notes) {
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuBar, SHCMBM_GETSUBMENU, 0, kMenuButton));
  if (!menu) return;
  const int strings = static_cast<int>(notes.size());
  for (int i = 0; i < 6; ++i) {
    if (i < strings)
      ModifyMenuW(menu, StringCommand(i), MF_BYCOMMAND | MF_STRING, StringCommand(i), GetPitchShortName(notes[i]));
    else
      DeleteMenu(menu, StringCommand(i), MF_BYCOMMAND);
  }
  for (int i = 6; i < strings; ++i)
    InsertMenuW(menu, kFirstStringPlace + i, MF_BYPOSITION | MF_STRING, StringCommand(i), GetPitchShortName(notes[i]));
}
