#pragma once

#include "MenuBindings.h"
#include "general/RCPtr.h"
#include "general/TSmartHandle.h"
#include "general/UninitResident.h"
#include "win/window.h"

// The shared owner of the soft-key menu bar window.
using MenuBarHolder = TSmartHandle<HWND, BOOL (*)(HWND), &DestroyWindow>;

// The soft-key menu's handler: turns menu commands into calls of its
// bindings, and owns the small hint window that shows the selected note's
// name. It owns nothing else but window handles.
//
// Thread: program thread. Lifetime: counted; registered with the tear-down
// root, whose uninit pass replaces the bindings with unbound ones.
class MenuMainDlgCE : public virtual CRefCounter {
 public:
  MenuMainDlgCE(UninitCaller *root, const RCPtr<MenuBarHolder> &menuBar);
  MenuMainDlgCE(const MenuMainDlgCE &) = delete;
  MenuMainDlgCE &operator=(const MenuMainDlgCE &) = delete;

  void SetBindings(const MenuBindings &bindings) { bindings_ = bindings; }
  // The main window and the module the hint window is made in.
  void SetParent(HWND parent, HINSTANCE module);

  // Only the low 16 bits of `command` count; 1 when it is a menu command.
  int OnCommand(WPARAM command);
  // true makes the hint window if there is none; false destroys it.
  void ShowHint(bool show);

  const RCPtr<MenuBarHolder> &MenuBar() const { return menuBar_; }
  HWND HintWindow() const { return hintWindow_; }

 private:
  void Uninit() { bindings_ = MenuBindings(); }

  RCPtr<MenuBarHolder> menuBar_;
  HWND hintWindow_ = nullptr;
  HWND parent_ = nullptr;
  HINSTANCE module_ = nullptr;
  MenuBindings bindings_;
  UninitResident resident_;
};
