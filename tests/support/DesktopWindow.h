#pragma once

// What a desktop user does to a program's window on an X server of the
// test's own (XvfbServer): find it by its title, read its class, close it.
// Include last: Xlib's macros (None, Bool, Status) clash with other headers.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <X11/Xlib.h>

// What a shell command prints on stdout.
inline std::string CommandOutput(const std::string &command) {
  std::string said;
  if (FILE *p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) said += buffer;
    pclose(p);
  }
  return said;
}

// The window titled exactly `title` on the display named in `env`
// ("DISPLAY=:n"), waiting until it appears; 0 if none does (xdotool's words
// in `said`). The time limit only keeps a broken run from hanging.
inline Window FindWindowByTitle(const std::string &env, const std::string &title, std::string *said) {
  *said = CommandOutput(env + " timeout 60 xdotool search --sync --name '^" + title + "$' 2>&1");
  return std::strtoul(said->c_str(), nullptr, 10);
}

// The window's class as a dock reads it: xprop's WM_CLASS line.
inline std::string WindowClass(const std::string &env, Window window) {
  return CommandOutput(env + " xprop -id " + std::to_string(window) + " WM_CLASS 2>&1");
}

// What a desktop's close button does: WM_DELETE_WINDOW to the window.
inline void AskToClose(Display *x, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(x, window, False, NoEventMask, &event);
  XFlush(x);
}
