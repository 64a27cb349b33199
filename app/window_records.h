// The run's and the scene's records, as GLUT's callbacks, the exit handlers and Xlib's error
// handlers reach them: those are called with nothing of the viewer's own. Set once, when the
// window opens (handWindowToRun); everything they call is handed the records from here on.
#pragma once

#include "run/run_state.h"
#include "scene/scene_state.h"

extern RunState* windowRun;
extern SceneState* windowScene;
