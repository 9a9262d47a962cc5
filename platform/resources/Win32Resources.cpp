#include "resources/Win32Resources.h"

namespace resources {

namespace {

constexpr WORD kImageNone = 0xFFFE;
constexpr WORD kPopup = 0x0010;  // MF_POPUP
constexpr WORD kEnd = 0x0080;    // MF_END

void PutWord(Bytes *out, WORD w) {
  out->push_back(static_cast<unsigned char>(w & 0xFF));
  out->push_back(static_cast<unsigned char>(w >> 8));
}

void PutText(Bytes *out, const std::wstring &text) {
  for (char16_t unit : ToUtf16(text)) PutWord(out, unit);
  PutWord(out, 0);
}

// Reads little-endian WORDs and terminated UTF-16 texts, failing at the end.
class Reader {
 public:
  explicit Reader(std::span<const unsigned char> bytes) : bytes_(bytes) {}
  bool Word(WORD *w) {
    if (at_ + 2 > bytes_.size()) return false;
    *w = static_cast<WORD>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }
  bool Text(std::wstring *text) {
    std::u16string units;
    for (WORD w; Word(&w);) {
      if (w == 0) {
        *text = FromUtf16(units);
        return true;
      }
      units.push_back(static_cast<char16_t>(w));
    }
    return false;
  }
  bool Counted(WORD length, std::wstring *text) {
    std::u16string units;
    for (WORD i = 0, w; i < length; ++i) {
      if (!Word(&w)) return false;
      units.push_back(static_cast<char16_t>(w));
    }
    *text = FromUtf16(units);
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  std::span<const unsigned char> bytes_;
  size_t at_ = 0;
};

bool DecodePopup(Reader &in, Popup *popup) {
  for (;;) {
    WORD flags;
    MenuItem item;
    if (!in.Word(&flags) || (flags & kPopup) || !in.Word(&item.id) || !in.Text(&item.text)) return false;
    popup->items.push_back(std::move(item));
    if (flags & kEnd) return true;
  }
}

}  // namespace

Bytes EncodeMenuBar(const MenuBar &bar) {
  Bytes out;
  PutWord(&out, bar.menu);
  PutWord(&out, static_cast<WORD>(bar.buttons.size()));
  for (const MenuBarButton &b : bar.buttons)
    for (WORD w : {kImageNone, b.command, b.state, b.style, b.label, WORD{0}, b.popup}) PutWord(&out, w);
  return out;
}

bool DecodeMenuBar(std::span<const unsigned char> bytes, MenuBar *bar) {
  Reader in(bytes);
  WORD count;
  if (!in.Word(&bar->menu) || !in.Word(&count)) return false;
  bar->buttons.assign(count, MenuBarButton{});
  for (MenuBarButton &b : bar->buttons) {
    WORD image, reserved;
    if (!in.Word(&image) || !in.Word(&b.command) || !in.Word(&b.state) || !in.Word(&b.style) ||
        !in.Word(&b.label) || !in.Word(&reserved) || !in.Word(&b.popup))
      return false;
  }
  return in.AtEnd();
}

Bytes EncodeMenu(const Menu &menu) {
  Bytes out;
  PutWord(&out, 0);
  PutWord(&out, 0);
  for (size_t p = 0; p < menu.size(); ++p) {
    PutWord(&out, static_cast<WORD>(kPopup | (p + 1 == menu.size() ? kEnd : 0)));
    PutText(&out, menu[p].text);
    const auto &items = menu[p].items;
    for (size_t i = 0; i < items.size(); ++i) {
      PutWord(&out, i + 1 == items.size() ? kEnd : 0);
      PutWord(&out, items[i].id);
      PutText(&out, items[i].text);
    }
  }
  return out;
}

bool DecodeMenu(std::span<const unsigned char> bytes, Menu *menu) {
  Reader in(bytes);
  WORD version, headerSize;
  if (!in.Word(&version) || !in.Word(&headerSize) || version != 0 || headerSize != 0) return false;
  menu->clear();
  for (;;) {
    WORD flags;
    Popup popup;
    if (!in.Word(&flags) || !(flags & kPopup) || !in.Text(&popup.text) || !DecodePopup(in, &popup)) return false;
    menu->push_back(std::move(popup));
    if (flags & kEnd) return in.AtEnd();
  }
}

WORD StringBlockId(WORD stringId) { return static_cast<WORD>((stringId >> 4) + 1); }

Bytes EncodeStringBlock(const std::vector<std::pair<WORD, std::wstring>> &strings) {
  std::wstring slots[16];
  for (const auto &[id, text] : strings) slots[id & 15] = text;
  Bytes out;
  for (const std::wstring &text : slots) {
    std::u16string units = ToUtf16(text);
    PutWord(&out, static_cast<WORD>(units.size()));
    for (char16_t unit : units) PutWord(&out, unit);
  }
  return out;
}

std::optional<std::wstring> DecodeString(std::span<const unsigned char> block, WORD id) {
  Reader in(block);
  std::wstring wanted;
  for (int slot = 0; slot < 16; ++slot) {
    WORD length;
    std::wstring text;
    if (!in.Word(&length) || !in.Counted(length, &text)) return std::nullopt;
    if (slot == (id & 15)) wanted = std::move(text);
  }
  return wanted;
}

std::wstring FromUtf16(const std::u16string &text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      out.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00)));
    } else {
      out.push_back(unit >= 0xD800 && unit < 0xE000 ? L'\xFFFD' : static_cast<wchar_t>(unit));
    }
  }
  return out;
}

std::u16string ToUtf16(const std::wstring &text) {
  std::u16string out;
  for (wchar_t c : text) {
    const auto code = static_cast<char32_t>(c);
    if (code >= 0x10000 && code <= 0x10FFFF) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.push_back(code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) ? u'\xFFFD' : static_cast<char16_t>(code));
    }
  }
  return out;
}

}  // namespace resources
