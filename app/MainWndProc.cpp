#include "MainWndProc.h"

#include <cmath>

#include "Globals.h"
#include "MenuMainDlgCE.h"
#include "StartupAdapters.h"

namespace {

DrovaneView_H &View() { return *Globals::current->view; }

// The view draws the whole client area off screen; only the invalid part is
// copied, so the screen changes nowhere else.
void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const int w = client.right - client.left, h = client.bottom - client.top;
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  View().Paint(memory, w, h, ps.rcPaint);
  const RECT &r = ps.rcPaint;
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  EndPaint(window, &ps);
}

// A is first brought to one decimal place, so steps stay on the 0.1 Hz grid.
void StepReference(WPARAM key) {
  const ViewBindings &bindings = View().Bindings();
  double reference = std::floor(bindings.getReference() * 10 + 0.5) / 10;
  reference += key == VK_UP ? 0.1 : -0.1;
  bindings.setReference(reference);
}

void ChooseString(WPARAM character) {
  View().SetStringSelectIndex(static_cast<int>(character - '1'));
  PlaySelectedNote();
}

void Stop() { Globals::current->eventLoop->Stop(); }

int PointerX(LPARAM lParam) { return static_cast<int>(lParam & 0xFFFF); }
int PointerY(LPARAM lParam) { return static_cast<int>((lParam >> 16) & 0xFFFF); }

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
      View().SetClientSize(create->cx, create->cy);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_CLOSE:
      Stop();
      break;
    case WM_CANCELMODE:
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) StepReference(wParam);
      break;
    case WM_CHAR:
      if (wParam >= '1' && wParam < static_cast<WPARAM>('1' + View().Panel().strings)) ChooseString(wParam);
      break;
    case WM_COMMAND:
      if ((wParam & 0xFFFF) == IDOK) {
        Stop();
        DestroyWindow(window);
      } else {
        Globals::current->menu->OnCommand(wParam);
      }
      break;
    case WM_LBUTTONDOWN:
      View().OnPointerDown(PointerX(lParam), PointerY(lParam), static_cast<unsigned>(wParam));
      break;
    case WM_LBUTTONUP:
      View().OnPointerUp(PointerX(lParam), PointerY(lParam), static_cast<unsigned>(wParam));
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
