#include "app/window_class.h"

#if defined(_WIN32) || defined(__APPLE__)

void nameWindowClass() {}

#else

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include "app/x_window.h"

namespace {

// The process and its machine, as window managers and tools that end a window's client look
// them up: _NET_WM_PID means nothing without WM_CLIENT_MACHINE beside it.
void nameWindowProcess(Display* display, Window window) {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) == 0) {
    char* names[] = {host};
    XTextProperty machine{};
    if (XStringListToTextProperty(names, 1, &machine) != 0) {
      XSetWMClientMachine(display, window, &machine);
      XFree(machine.value);
    }
  }
  const auto pid = static_cast<unsigned long>(getpid());  // Xlib's 32-bit format takes longs
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

}  // namespace

void nameWindowClass() {
  const auto [display, window] = currentXWindow();
  if (display == nullptr) {
    return;
  }
  // Xlib's hint takes non-const strings but only reads them.
  XClassHint hint{const_cast<char*>(kWindowClassName), const_cast<char*>(kWindowClass)};
  XSetClassHint(display, window, &hint);
  nameWindowProcess(display, window);
}

#endif
