#include "CreateMenuBar.h"

#include "general/CheckSites.h"
#include "win/shell.h"

HWND CreateMenuBar(UINT resourceId, HWND parent, HINSTANCE module) {
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = parent;
  info.nToolBarId = resourceId;
  info.hInstRes = module;
  SHCreateMenuBar(&info);
  if (!Check(info.hwndMB != nullptr, CheckSites::kMenuBarNotCreated)) return nullptr;

  RECT own, bar;
  GetWindowRect(parent, &own);
  GetWindowRect(info.hwndMB, &bar);
  MoveWindow(parent, own.left, own.top, own.right - own.left, bar.top - own.top, TRUE);
  return info.hwndMB;
}
