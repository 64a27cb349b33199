#include "app/window_class.h"

#if defined(_WIN32) || defined(__APPLE__)

void nameWindowClass() {}

#else

#include <GL/glx.h>
#include <X11/Xutil.h>

void nameWindowClass() {
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable window = glXGetCurrentDrawable();
  if (display == nullptr || window == None) {
    return;
  }
  // Xlib's hint takes non-const strings but only reads them.
  XClassHint hint{const_cast<char*>(kWindowClassName), const_cast<char*>(kWindowClass)};
  XSetClassHint(display, window, &hint);
}

#endif
