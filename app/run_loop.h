// The run in GLUT's window: what the run asks of the window, done with GLUT, and GLUT's loop
// with the callbacks that run the frames, the timers, the window's status and its close.
#pragma once

#include "run/run_state.h"
#include "scene/scene_state.h"

// Hands the run the window's calls (swap, size, title, GL's look-up), and keeps the records for
// GLUT's callbacks and the exit handlers. Once the window is open.
void handWindowToRun(RunState& run, SceneState& scene);

// Sets the run going and enters GLUT's loop, which ends only by exit.
void runInGlutLoop(RunState& run, bool fullscreen);

// After input: a person's step to another map has the map timer look for it at once.
void hurryMapsIfStepped();
