// How many screen refreshes a buffer swap waits for: 0 draws as fast as frames come, 1 once a
// refresh. Set through whichever swap-control extension the display offers (GLX's EXT, MESA or
// SGI one; WGL's EXT on Windows). Needs a current context.
#pragma once

#include <string>

#include "scene/gl_headers.h"

struct SwapControl {
  std::string extension;  // the one that set it; empty: none was offered, or it refused
  int obtained = -1;      // the interval the display reports; negative where it cannot say
};

// Asks for `interval`. Returns what was obtained; `problem` says, in words for standard error,
// when it is not what was asked, or "".
SwapControl setSwapInterval(int interval, GlLookUp lookUp, std::string* problem);
