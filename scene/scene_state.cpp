#include "scene/scene_state.h"

// Constant-initialised: every value is in place before main runs.
SceneState scene;
