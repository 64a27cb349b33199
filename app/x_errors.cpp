#include "app/x_errors.h"

#if defined(_WIN32) || defined(__APPLE__)

void sayXErrors(bool) {}

#else

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/complaint.h"
#include "run/exit_status.h"
#include "run/run_end.h"

namespace {

// Whether -indirect was asked, for the X error handler's words: Xlib hands a handler nothing
// of the viewer's own.
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
  complain(std::string("the X server refused a request: ") + text +
           (indirect ? "; it may offer no indirect GL context (-indirect)" : ""));
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
