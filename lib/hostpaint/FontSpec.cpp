#include "FontSpec.h"

void FontSpec::Create(const WCHAR *faceName, int size, bool bold) {
  LOGFONTW log{};
  for (int i = 0; faceName && i < LF_FACESIZE - 1 && faceName[i]; ++i) log.lfFaceName[i] = faceName[i];
  log.lfHeight = size;
  log.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = 0;
  log.lfUnderline = 0;
  font.Attach(CreateFontIndirectW(&log));
  LOGFONTW created{};
  if (font.Get() && GetObjectW(font.Get(), sizeof created, &created) == sizeof created) height = created.lfHeight;
}
