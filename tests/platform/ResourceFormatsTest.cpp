#include <gtest/gtest.h>

#include "resources/Win32Resources.h"

namespace {

using resources::Bytes;

Bytes Words(std::initializer_list<unsigned> words) {
  Bytes out;
  for (unsigned w : words) {
    out.push_back(static_cast<unsigned char>(w & 0xFF));
    out.push_back(static_cast<unsigned char>(w >> 8));
  }
  return out;
}

// The bytes as the resource compiler writes them for the tuner's menu bar,
// MENU and string block, read back and written again byte for byte.
TEST(ResourceFormatsTest, ReadsAndWritesTheResourceCompilersBytes) {
  const Bytes bar = Words({703, 2, 0xFFFE, 702, 4, 0x10, 702, 0, 0xFFFF, 0xFFFE, 704, 4, 0x18, 704, 0, 0});
  resources::MenuBar decodedBar;
  ASSERT_TRUE(resources::DecodeMenuBar(bar, &decodedBar));
  EXPECT_EQ(decodedBar.buttons[1].style, 0x18);
  EXPECT_EQ(decodedBar.buttons[0].popup, 0xFFFF);
  EXPECT_EQ(resources::EncodeMenuBar(decodedBar), bar);

  // POPUP "Menu" { MENUITEM "Go", 5; MENUITEM SEPARATOR; MENUITEM "\U0001D11E", 6 }
  const Bytes menu = Words({0, 0, 0x90, 'M', 'e', 'n', 'u', 0, 0, 5, 'G', 'o', 0, 0, 0, 0, 0x80, 6, 0xD834, 0xDD1E, 0});
  resources::Menu decodedMenu;
  ASSERT_TRUE(resources::DecodeMenu(menu, &decodedMenu));
  ASSERT_EQ(decodedMenu.size(), 1u);
  ASSERT_EQ(decodedMenu[0].items.size(), 3u);
  EXPECT_TRUE(decodedMenu[0].items[1].Separator());
  EXPECT_EQ(decodedMenu[0].items[2].text, std::wstring(1, static_cast<wchar_t>(0x1D11E)));
  EXPECT_EQ(resources::EncodeMenu(decodedMenu), menu);

  Bytes block = resources::EncodeStringBlock({{702, L"Close"}});
  EXPECT_EQ(resources::StringBlockId(702), 44);
  EXPECT_EQ(block.size(), 2u * (16 + 5));
  EXPECT_EQ(resources::DecodeString(block, 702), L"Close");
  EXPECT_EQ(resources::DecodeString(block, 703), L"");
}

TEST(ResourceFormatsTest, RejectsBytesThatAreCutShortOrInconsistent) {
  resources::MenuBar bar;
  EXPECT_FALSE(resources::DecodeMenuBar(Words({703, 2, 0xFFFE, 702, 4, 0x10, 702, 0, 0xFFFF}), &bar));
  EXPECT_FALSE(resources::DecodeMenuBar(Words({703, 0, 1}), &bar)) << "bytes past the buttons";
  resources::Menu menu;
  EXPECT_FALSE(resources::DecodeMenu(Words({0, 0, 0x90, 'M', 0, 0x80, 6, 'x'}), &menu)) << "unterminated";
  EXPECT_FALSE(resources::DecodeMenu(Words({0, 0, 0x90, 'M', 0, 0x10, 'S', 0}), &menu)) << "nested pop-up";
  EXPECT_FALSE(resources::DecodeMenu(Words({1, 0}), &menu));
  EXPECT_FALSE(resources::DecodeString(Words({3, 'a'}), 0).has_value());
}

}  // namespace
