// What the X server refuses, said in the viewer's words: Xlib's own handler prints a raw
// protocol dump and ends the process.
#pragma once

// From now on, an X protocol error ends the viewer with status 1, its results written, and one
// line naming it, with a hint where the command line asked for an indirect GL context, which
// many servers no longer offer; a lost connection ends it as a closed window does. Never a
// hang: nothing on the way out waits on Xlib. Nothing where there is no X.
void sayXErrors(bool indirectAsked);
