// The viewer's run, from its plan to its first frame. A run that asks for more than the plain
// loop's frames until Escape (--fps, --keys, --frames, --screenshot, --frame-rate, --record,
// --replay, --hud, --samples, --results or --swap-interval) draws its own frames: counted,
// paced, keyed, read back and kept as the plan says. Without any of these the viewer's plain
// loop runs untouched.
#pragma once

#include <string>
#include <vector>

#include "run/run_plan.h"
#include "scene/gl_headers.h"

// What a run needs before its window opens: the session to replay, the maps (those named, or
// else those the replayed session names, or else ./env.ppm), no two file options naming one
// file, and the files it writes checked, so that a name that can never be written is refused
// before anything is drawn; and, for a run with a frame budget or a kept session, the signals
// that end it with a word of what was drawn. Returns -1 to go on, or the status to exit with
// after saying why on standard error.
int prepareRun(const RunPlan& plan, const std::vector<std::string>& namedMaps);

// Registers GLUT's idle and display callbacks: renderFrame for both when the plan asks for
// nothing of the kind, else the run's own (no idle callback for a paced run, whose frames come
// from GLUT's timer).
void beginRun(bool fullscreen);

// Once the window is open: the first map that loads, into the scene's image buffer, and its
// texture name; 0 when none does.
GLuint loadRunMaps();
