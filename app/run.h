// A run that asks for more than frames until Escape (--fps, --keys, --frames, --screenshot,
// --frame-rate): its frames are counted, paced, keyed and saved as the options say.
#pragma once

#include "app/options.h"

using FrameRoutine = void (*)();

// GLUT's idle and display callbacks for the run; no idle callback for a paced run, whose idle
// frames come from GLUT's timer.
struct RunCallbacks {
  FrameRoutine idle;
  FrameRoutine display;
};

// What a run needs before its window opens: the session to replay, read and checked; the
// picture's and the kept session's files, opened now so that a name that can never be written
// is refused before anything is drawn; and, for a run with a frame budget or a kept session,
// the signals that end it with a word of what was drawn. Returns -1 to go on, or the status to
// exit with after saying why on standard error.
int prepareRun(const Options& options);

// Takes the run's options and returns its callbacks. When the options ask for nothing of the
// kind both are renderFrame itself, and nothing else changes.
RunCallbacks beginRun(const Options& options);
