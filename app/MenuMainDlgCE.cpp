#include "MenuMainDlgCE.h"

#include "resources/ResourceIds.h"

using namespace ResourceIds;

MenuMainDlgCE::MenuMainDlgCE(UninitCaller *root, const RCPtr<MenuBarHolder> &menuBar)
    : menuBar_(menuBar), resident_(root, this, MakeDelegate<void()>(this, &MenuMainDlgCE::Uninit)) {}

void MenuMainDlgCE::SetParent(HWND parent, HINSTANCE module) {
  parent_ = parent;
  module_ = module;
}

int MenuMainDlgCE::OnCommand(WPARAM command) {
  const WORD id = static_cast<WORD>(command & 0xFFFF);
  if (id == kClose) {
    if (bindings_.close.IsBound()) bindings_.close();
  } else if (id == kAbout) {
    bindings_.about();
  } else if (id >= kFirstString && id <= kLastString) {
    bindings_.stringIndex(id - kFirstString);
  } else if (id >= kMoreStrings && id < kMoreStrings + 3) {
    bindings_.stringIndex(6 + id - kMoreStrings);
  } else if (id == kAutoCalibrate) {
    bindings_.autoCalibrate();
  } else {
    return 0;
  }
  return 1;
}

void MenuMainDlgCE::ShowHint(bool show) {
  if (!show) {
    DestroyWindow(hintWindow_);
    hintWindow_ = nullptr;
  } else if (!hintWindow_) {
    hintWindow_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 70, 40, 20, parent_,
                                  nullptr, module_, nullptr);
  }
}
