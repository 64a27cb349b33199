#include "app/x_errors.h"

#if defined(_WIN32) || defined(__APPLE__)

void sayXErrors(bool) {}

#else

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

#include "run/exit_status.h"
#include "run/run_end.h"

namespace {

bool indirect = false;

int onXError(Display* display, XErrorEvent* error) {
  static bool ending = false;
  if (ending) {
    std::_Exit(
        statusCode(ExitStatus::XError));  // closing the window on the way out met another one
  }
  ending = true;
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "velkarin: the X server refused a request: %s%s\n", text,
               indirect ? "; it may offer no indirect GL context (-indirect)" : "");
  std::exit(statusCode(ExitStatus::XError));
}

// A lost connection ends the run in its own words, where Xlib's handler would print its own
// and exit. The exit handlers that then run may touch the lost connection again: that ends the
// process at once.
int onXConnectionLost(Display*) {
  static bool ending = false;
  if (ending) {
    std::_Exit(statusCode(ExitStatus::XError));
  }
  ending = true;
  endWithWindowGone();
}

}  // namespace

void sayXErrors(bool indirectAsked) {
  indirect = indirectAsked;
  XSetErrorHandler(onXError);
  XSetIOErrorHandler(onXConnectionLost);
}

#endif
