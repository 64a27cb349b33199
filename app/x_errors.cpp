#include "app/x_errors.h"

#if defined(_WIN32) || defined(__APPLE__)

void sayXErrors(bool) {}

#else

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kXErrorStatus = 1;
bool indirect = false;

int onXError(Display* display, XErrorEvent* error) {
  static bool ending = false;
  if (ending) {
    std::_Exit(kXErrorStatus);  // closing the window on the way out met another one
  }
  ending = true;
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "velkarin: the X server refused a request: %s%s\n", text,
               indirect ? "; it may offer no indirect GL context (-indirect)" : "");
  std::exit(kXErrorStatus);
}

}  // namespace

void sayXErrors(bool indirectAsked) {
  indirect = indirectAsked;
  XSetErrorHandler(onXError);
}

#endif
