#pragma once

// The Win32 resource formats the shell reads, as plain records, with their
// encoders (for the program's resources and tests) and decoders (for the
// shell). Strings are UTF-16LE in the bytes and wchar_t in the records.
// Decoders reject malformed bytes (short, unterminated, inconsistent counts)
// with false and leave their output unspecified. Thread: any.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "win/types.h"

namespace resources {

using Bytes = std::vector<unsigned char>;

// One soft-key button of a menu-bar RCDATA resource.
struct MenuBarButton {
  WORD command = 0;
  WORD state = 0x04;  // TBSTATE_ENABLED
  WORD style = 0x10;  // TBSTYLE_AUTOSIZE, | TBSTYLE_DROPDOWN (0x08) for a menu
  WORD label = 0;     // string-table id of its label
  WORD popup = 0xFFFF;  // index of its pop-up in the MENU, 0xFFFF (NOMENU) for none
};

// Menu-bar RCDATA: WORD menu id, WORD button count, then seven WORDs per
// button: image (I_IMAGENONE, 0xFFFE), command, state, style, label, 0, popup.
struct MenuBar {
  WORD menu = 0;
  std::vector<MenuBarButton> buttons;
};

// An item of a pop-up; id 0 with an empty text is a separator.
struct MenuItem {
  WORD id = 0;
  std::wstring text;
  bool Separator() const { return id == 0 && text.empty(); }
};

struct Popup {
  std::wstring text;
  std::vector<MenuItem> items;
};

// A MENU template as the resource compiler writes it: a header of two zero
// WORDs, then each pop-up (WORD flags MF_POPUP | MF_END on the last, text)
// followed by its items (WORD flags, MF_END on the last, WORD id, text).
// Nested pop-ups are not offered.
using Menu = std::vector<Popup>;

Bytes EncodeMenuBar(const MenuBar &bar);
bool DecodeMenuBar(std::span<const unsigned char> bytes, MenuBar *bar);
Bytes EncodeMenu(const Menu &menu);
bool DecodeMenu(std::span<const unsigned char> bytes, Menu *menu);

// A string-table block: resource (id >> 4) + 1 holds the strings id & ~15 ..
// id | 15, each a WORD length and that many UTF-16 code units.
WORD StringBlockId(WORD stringId);
// The block holding `strings` (all of one block; ids not given are empty).
Bytes EncodeStringBlock(const std::vector<std::pair<WORD, std::wstring>> &strings);
// String `id` of a block; nullopt when the block is malformed.
std::optional<std::wstring> DecodeString(std::span<const unsigned char> block, WORD id);

// UTF-16 code units to and from the host's 32-bit wchar_t (surrogate pairs
// joined and split; a lone surrogate becomes U+FFFD).
std::wstring FromUtf16(const std::u16string &text);
std::u16string ToUtf16(const std::wstring &text);

}  // namespace resources
