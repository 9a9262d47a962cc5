#pragma once

// The shell's message boxes, owned by the main window and captioned with the
// product name (both from Globals::current). Program thread; modal: the
// event loop waits until the box is closed.

// MessageBoxW with `text` and `style`; its result is stored in `result`
// unless that is null.
void ShowMessage(const wchar_t *text, unsigned int style, int *result);

// The About box: title, version and site address (without "http://"), one a
// line, with an OK button.
void ShowAbout();
