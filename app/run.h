// A run that asks for more than frames until Escape (--fps, --keys, --frames, --screenshot,
// --frame-rate): its frames are counted, paced, keyed and saved as the options say.
#pragma once

#include "app/options.h"

using FrameRoutine = void (*)();

// Takes the run's options and returns the routine for GLUT's display and idle callbacks. When
// the options ask for nothing of the kind it is renderFrame itself, and nothing else changes.
FrameRoutine beginRun(const Options& options);
