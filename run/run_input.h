// Every input, typed, dragged, scripted or replayed, takes this one path into the run: input/
// applies it to the scene and says what it asks; here the run keeps it, steps the map, draws
// at once or quits, as asked.
#pragma once

#include "run/run_state.h"
#include "scene/scene_state.h"

#include "input/input_event.h"

void takeInput(RunState& run, SceneState& scene, const InputEvent& event);
