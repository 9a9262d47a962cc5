#include "ShowMessage.h"

#include <string>

#include "Globals.h"

namespace {

void RemoveAll(std::wstring &text, const std::wstring &part) {
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at)) text.erase(at, part.size());
}

// A missing appInfo is recorded as a misuse; the box then goes without a
// caption, and the About box is not shown.
IApplicationInfo *AppInfo() { return Globals::current->appInfo.CheckedGet(); }

}  // namespace

void ShowMessage(const wchar_t *text, unsigned int style, int *result) {
  IApplicationInfo *info = AppInfo();
  const int answer = MessageBoxW(Globals::current->mainWindow, text, info ? info->GetProductName() : nullptr, style);
  if (result) *result = answer;
}

void ShowAbout() {
  IApplicationInfo *info = AppInfo();
  if (!info) return;
  std::wstring text = info->GetTitle();
  text += L"\r\nversion: ";
  text += info->GetVersion();
  text += L"\r\nsite: ";
  text += info->GetSiteAddress();
  RemoveAll(text, L"http://");
  ShowMessage(text.c_str(), MB_OK, nullptr);
}
