// Every input that changes the scene, typed, dragged, scripted or replayed, takes this one
// path: it is kept where the run keeps its session, input/ says what it does to the scene, and
// a frame is drawn at once where that says so.
#pragma once

#include "input/input_event.h"

void handleInput(const InputEvent& event);
