// The X window GL draws into, and its display: the window's title and class are set on it.
#pragma once

#if !defined(_WIN32) && !defined(__APPLE__)

#include <GL/glx.h>

struct XWindowOf {
  Display* display = nullptr;
  GLXDrawable window = None;
};

// The current context's window; a null display where there is none.
inline XWindowOf currentXWindow() {
  XWindowOf current{glXGetCurrentDisplay(), glXGetCurrentDrawable()};
  if (current.window == None) {
    current.display = nullptr;
  }
  return current;
}

#endif
