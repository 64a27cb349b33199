// How a run ends: after its last frame, by Escape, by a signal, by its window closing, or by
// the X server refusing a request or going away. However it ends, it says how far it got where
// it was cut short, prints the whole run's frame rate where --fps asks, and writes its results.
#pragma once

#include "run/run_state.h"

#include <string>

#include "picture/png_file.h"
#include "run/exit_status.h"

// For a run that draws its own frames: SIGINT, SIGTERM and SIGHUP end it at the next frame with
// a word of what was drawn. A signal the viewer was started with ignored (SIGHUP under nohup)
// stays ignored.
void catchStopSignals();

// Ends the run where a signal or an X error asked it to: the safe point between frames.
void stopIfAsked(RunState& run);

// What the X server refused, in words, from Xlib's error handler, which must not call Xlib nor
// exit (whose handlers do). A run in GLUT's loop drawing its own frames notes it and ends at its
// next frame; any other ends at once, with no call to X on the way out.
void takeXError(RunState& run, const std::string& words);

// For a run with a frame budget, whose window's close the loop reports by windowClosed: a
// window closed by a person ends it with status 1. The toolkit also closes its window from an
// exit handler, as any exit ends the process, which is no person closing it: noteExiting, from
// an exit handler registered after the toolkit's, runs before it and says so.
void windowClosed(RunState& run);
void noteExiting(RunState& run);

// After the budget's last frame: the picture, the keys the budget left unpressed, the whole
// run's frame rate, the exit.
[[noreturn]] void endRun(RunState& run, const RgbImage& lastFrame);

// The window is gone with the connection to its X server (the server ended, or the client was
// killed on it): a --frames run says how far it got and ends with status 1, as when its window
// is closed; any other run ends with status 0. Called by Xlib's handler of a lost connection:
// nothing on the way out touches X.
[[noreturn]] void endWithWindowGone(RunState& run);

// Escape: the whole run's frame rate where asked, the run's results, then the exit.
[[noreturn]] void quitRun(RunState& run, ExitStatus status);

// Prints a frame-rate line at once.
void printLine(const std::string& line);
