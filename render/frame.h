// The frame renderer: the loop's plain frame, also drawn at once, through the run, for an input
// that wants its change on screen now.
#pragma once

#include "scene/scene_state.h"

// Draws one whole frame from the scene state, first advancing the animation when it is on,
// and flushes it; the window's room shows it.
void renderFrame(SceneState& scene);

// Draws the whole scene, advancing the animation as renderFrame does, into the back buffer,
// up to and with the marker: renderFrame then flushes; a run may draw its readout over it
// first, and read its last frame back before it swaps.
void drawScene(SceneState& scene);

// The small yellow tetrahedron just outside the torus, drawn on the current model-view matrix;
// its translate and scale stay applied.
void drawTetraMarker(const SceneState& scene);
