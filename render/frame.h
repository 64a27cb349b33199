// The frame renderer: GLUT's display and idle callback, also called directly by keys that
// want their change on screen at once.
#pragma once

// Draws one whole frame from the scene state, first advancing the animation when it is on,
// and shows it.
void renderFrame();

// Draws one whole frame, advancing the animation as renderFrame does, into the back buffer
// without swapping: a scripted run reads its last frame from there before it swaps.
void drawFrame();

// What drawFrame draws over each frame, after the marker and before the flush: nothing, unless
// the run asks for a readout.
void drawOverlayWith(void (*overlay)());

// The small yellow tetrahedron just outside the torus, drawn on the current model-view matrix;
// its translate and scale stay applied.
void drawTetraMarker();
