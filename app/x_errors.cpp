#include "app/x_errors.h"

#if defined(_WIN32) || defined(__APPLE__)

void sayXErrors(bool) {}

#else

#include <X11/Xlib.h>

#include <string>

#include "app/window_records.h"
#include "run/run_end.h"

namespace {

// Whether -indirect was asked, for the X error handler's words: Xlib hands a handler nothing
// of the viewer's own.
bool indirect = false;

// Xlib calls this inside its own calls, its display locked: it must not call Xlib again, nor
// exit, whose handlers close the display and would wait for that lock for ever. It hands the
// words to the run, which ends at its next frame or, where it has none, at once without X.
// XGetErrorText only looks the code up in Xlib's tables: it sends no request.
int onXError(Display* display, XErrorEvent* error) {
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  takeXError(*windowRun, std::string("the X server refused a request: ") + text +
                             (indirect ? "; it may offer no indirect GL context (-indirect)" : ""));
  return 0;
}

// A lost connection ends the run in its own words, where Xlib's handler would print its own
// and exit; nothing on the way out touches the lost connection again.
int onXConnectionLost(Display*) {
  endWithWindowGone(*windowRun);
}

}  // namespace

void sayXErrors(bool indirectAsked) {
  indirect = indirectAsked;
  XSetErrorHandler(onXError);
  XSetIOErrorHandler(onXConnectionLost);
}

#endif
