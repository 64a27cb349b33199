// Finds, photographs and types into a window of the X server, as a person at it would.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "picture/png_file.h"

// The viewable window with that title that process `pid` made, or 0 when
// none appears within `timeoutMs`. Matching the process matters: the window of a viewer that was
// just killed lingers until the server has seen its client go, under the same title.
Window findWindowByTitle(Display* display, const std::string& title, long pid, int timeoutMs);

struct WindowGeometry {
  int x, y, width, height;  // position relative to the screen
};
WindowGeometry windowGeometry(Display* display, Window window);

// The window's picture as the screen shows it.
RgbImage captureWindow(Display* display, Window window);

// Focuses the window and presses and releases a key, with Shift for capital letters: real key
// events, as from a keyboard.
void typeKeySym(Display* display, Window window, unsigned long keysym);

// The same for each character of `keys` (letters, digits).
void typeKeys(Display* display, Window window, const std::string& keys);

// Presses pointer button `button` (1 left, 3 right) at (fromX, fromY) in the window, moves to
// (toX, toY) in small steps and releases it: a real drag, as from a mouse.
void dragPointer(Display* display, Window window, unsigned button, int fromX, int fromY, int toX,
                 int toY);

// The window's class as "name.Class" (X11's WM_CLASS); "" when it has none.
std::string windowClass(Display* display, Window window);

// Asks the window to close, as a window manager's close button does (WM_DELETE_WINDOW).
void closeWindow(Display* display, Window window);
