// How a run ends: after its last frame, by a signal, or by its window closing.
#pragma once

#include "picture/png_file.h"
#include "run/exit_status.h"

// For a run with a frame budget or a kept session: SIGINT, SIGTERM and SIGHUP end it at the
// next frame with a word of what was drawn.
void catchStopSignals();

// Ends the run where a signal asked it to.
void stopIfSignalled();

// For a run with a frame budget: a window closed by a person ends it with status 1.
void watchWindowClose();

// After the budget's last frame: the picture, the keys the budget left unpressed, the whole
// run's frame rate, the exit.
[[noreturn]] void endRun(const RgbImage& lastFrame);

// The window is gone with the connection to its X server (the server ended, or the client was
// killed on it): a --frames run says how far it got and ends with status 1, as when its window
// is closed; any other run ends with status 0.
[[noreturn]] void endWithWindowGone();

// Escape: the run's results, when it keeps them, then the exit with `status`.
[[noreturn]] void quitRun(ExitStatus status);

// Prints a frame-rate line at once.
void printLine(const std::string& line);
